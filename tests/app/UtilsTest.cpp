#include "app/Utils.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "runtime/Failure.h"
#include "tests/app/Modal.h"

namespace {

TEST(TextoFalha, AddsAFullStopOnlyAfterABytePastTheFullStop) {
  struct Caso {
    std::string mensagem;
    std::string esperado;
  } casos[] = {
      {"Tabela inexistente", "Tabela inexistente."},
      {"Erro 42", "Erro 42."},
      {"Valor:", "Valor:."},
      {"Continuar?", "Continuar?."},
      {"Caminho/", "Caminho/."},
      {"Sem conexão", "Sem conexão."},  // the last UTF-8 byte sorts after "."
      {"Falhou!", "Falhou!"},
      {"Erro (2003)", "Erro (2003)"},
      {"Fim.", "Fim."},
      {"for key 'PRIMARY'", "for key 'PRIMARY'"},
      {"menos-", "menos-"},
      {"vírgula,", "vírgula,"},
      {"espaço ", "espaço "},
      {"linha\r\n", "linha\r\n"},
      {"", ""},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.mensagem);
    EXPECT_EQ(TextoFalha(caso.mensagem), caso.esperado);
  }
}

TEST(TituloPrograma, KeepsTheFirstCharacterAndLowersTheRest) {
  struct Caso {
    std::string caminho;
    std::string esperado;
  } casos[] = {
      {"/x/QUIRAVEL", "Quiravel"},
      {"/x/Quiravel", "Quiravel"},
      {"/x/quiravel.exe", "quiravel"},
      {"/x/QUIRAVEL.EXE", "Quiravel"},
      {"/opt/a.b/QuiRavel.bin", "Quiravel"},
      {"/x/Nome.v2.exe", "Nome.v2"},
      {"QUIRAVEL", "Quiravel"},
      {"/x/ÉDITO", "Édito"},
      {"/x/AÇÃO", "Ação"},
      {"/x/", ""},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.caminho);
    EXPECT_EQ(TituloPrograma(caso.caminho), caso.esperado);
  }
}

// Records every box instead of showing it; each one is answered with `resposta`.
class CaixasGravadas : public ::testing::Test {
 protected:
  void SetUp() override {
    DefineGanchoCaixas([this](const TCaixaMensagem& caixa) {
      caixas.push_back(caixa);
      return resposta;
    });
  }
  void TearDown() override { DefineGanchoCaixas({}); }

  std::vector<TCaixaMensagem> caixas;
  bool resposta = true;
};

TEST_F(CaixasGravadas, FailureDisplayShowsTheMessageUnderTheProgramTitle) {
  EXPECT_FALSE(ExecutaHandler([] { throw runtime::Failure("Table 'quiravel.x' doesn't exist"); }));
  EXPECT_FALSE(ExecutaHandler([] { throw std::runtime_error("Importação interrompida!"); }));
  ASSERT_EQ(caixas.size(), 2u);
  EXPECT_EQ(caixas[0].titulo, TituloPrograma());
  EXPECT_EQ(caixas[0].texto, "Table 'quiravel.x' doesn't exist.");
  EXPECT_EQ(caixas[0].icone, TIconeCaixa::Erro);
  EXPECT_FALSE(caixas[0].simNao);
  EXPECT_EQ(caixas[1].texto, "Importação interrompida!");
}

TEST_F(CaixasGravadas, SilentAbortShowsNothingAndAFailureWithoutMessageAnEmptyBox) {
  EXPECT_FALSE(ExecutaHandler([] { throw runtime::SilentAbort(); }));
  EXPECT_TRUE(caixas.empty());
  EXPECT_FALSE(ExecutaHandler([] { throw 42; }));
  ASSERT_EQ(caixas.size(), 1u);
  EXPECT_EQ(caixas[0].texto, "");
  EXPECT_TRUE(ExecutaHandler([] {}));
  EXPECT_EQ(caixas.size(), 1u);
}

TEST_F(CaixasGravadas, DialogsPassTheirTextUnchanged) {
  resposta = false;
  EXPECT_FALSE(Confirma("Deseja exibir o relatório detalhado dos erros?"));
  resposta = true;
  EXPECT_TRUE(Confirma("Sim?"));
  MsgErro("Erro ao carregar descontos!\r\nNenhum desconto carregado! ");
  MsgInformacao("Importação realizada com sucesso!");
  ASSERT_EQ(caixas.size(), 4u);
  EXPECT_EQ(caixas[0].titulo, "Confirmação");
  EXPECT_EQ(caixas[0].icone, TIconeCaixa::Pergunta);
  EXPECT_TRUE(caixas[0].simNao);
  EXPECT_EQ(caixas[2].titulo, "Erro");
  EXPECT_EQ(caixas[2].texto, "Erro ao carregar descontos!\r\nNenhum desconto carregado! ");
  EXPECT_EQ(caixas[2].icone, TIconeCaixa::Erro);
  EXPECT_FALSE(caixas[2].simNao);
  EXPECT_EQ(caixas[3].titulo, "Informação");
  EXPECT_EQ(caixas[3].icone, TIconeCaixa::Informacao);
}

// What a real box showed, read while it is open.
struct CaixaVista {
  QString titulo, texto, botaoPadrao;
  Qt::TextFormat formato = Qt::AutoText;
  QMessageBox::Icon icone = QMessageBox::NoIcon;
  QStringList botoes;
};

CaixaVista LeCaixa(QWidget* janela) {
  auto* box = qobject_cast<QMessageBox*>(janela);
  CaixaVista vista;
  if (!box) {
    ADD_FAILURE() << "the modal window is no message box";
    janela->close();
    return vista;
  }
  vista.titulo = box->windowTitle();
  vista.texto = box->text();
  vista.formato = box->textFormat();
  vista.icone = box->icon();
  for (QAbstractButton* botao : box->buttons()) vista.botoes << botao->text().remove(QLatin1Char('&'));
  vista.botoes.sort();
  if (box->defaultButton()) vista.botaoPadrao = box->defaultButton()->text().remove(QLatin1Char('&'));
  return vista;
}

TEST(CaixaReal, ConfirmaAsksYesOrNoInPortugueseWithYesTheDefault) {
  for (bool sim : {true, false}) {
    SCOPED_TRACE(sim);
    CaixaVista vista;
    testapp::QuandoModal("the question box", [&](QWidget* janela) {
      vista = LeCaixa(janela);
      auto* box = qobject_cast<QMessageBox*>(janela);
      if (box) box->button(sim ? QMessageBox::Yes : QMessageBox::No)->click();
    });
    EXPECT_EQ(Confirma("Deseja exibir o relatório detalhado dos erros?\r\n<b>1</b> item"), sim);
    EXPECT_EQ(vista.titulo, QStringLiteral("Confirmação"));
    EXPECT_EQ(vista.texto, QStringLiteral("Deseja exibir o relatório detalhado dos erros?\n<b>1</b> item"));
    EXPECT_EQ(vista.formato, Qt::PlainText);
    EXPECT_EQ(vista.icone, QMessageBox::Question);
    EXPECT_EQ(vista.botoes, (QStringList{QStringLiteral("Não"), QStringLiteral("Sim")}));
    EXPECT_EQ(vista.botaoPadrao, QStringLiteral("Sim"));
  }
}

TEST(CaixaReal, ErrorAndInformationBoxesHaveOneOkButton) {
  struct Caso {
    void (*mostra)(const std::string&);
    QString titulo;
    QMessageBox::Icon icone;
  } casos[] = {
      {&MsgErro, QStringLiteral("Erro"), QMessageBox::Critical},
      {&MsgInformacao, QStringLiteral("Informação"), QMessageBox::Information},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.titulo.toStdString());
    CaixaVista vista;
    testapp::QuandoModal("the " + caso.titulo.toStdString() + " box", [&](QWidget* janela) {
      vista = LeCaixa(janela);
      janela->close();
    });
    caso.mostra("Primeira linha\r\nSegunda linha");
    EXPECT_EQ(vista.titulo, caso.titulo);
    EXPECT_EQ(vista.texto, QStringLiteral("Primeira linha\nSegunda linha"));
    EXPECT_EQ(vista.icone, caso.icone);
    EXPECT_EQ(vista.botoes, QStringList{QStringLiteral("OK")});
  }
}

}  // namespace
