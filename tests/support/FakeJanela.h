#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "import/IJanelaDescontos.h"

namespace testsupport {

// A scripted stand-in for the main window. Answers to the file dialog and to questions are
// taken in order; a dialog or question without a scripted answer fails the test. Every
// dialog and box is recorded in `caixas`, in order, as "<kind>: <text>".
class FakeJanela : public IJanelaDescontos {
 public:
  std::deque<std::optional<std::string>> arquivos;  // AbreArquivo answers (nullopt: cancelled)
  std::deque<bool> respostas;                       // Confirma answers
  std::function<void(const runtime::LineList&)> aoExibir;  // runs while the log window is "open"

  std::vector<std::string> caixas;   // "erro: ...", "info: ...", "confirma: ...", "exibir: ...", "abrir: ..."
  std::vector<runtime::LineList> exibidos;
  std::vector<std::string> historicoStatus;
  std::string status;
  int32_t posicao = 0;
  int32_t maximo = 100;
  int32_t passos = 0;  // calls of ProgressStepBy
  bool progressHabilitado = false;
  bool importarHabilitado = false;
  std::string edArquivo;
  int mensagensProcessadas = 0;

  void AtualizaStatus(const std::string& texto) override {
    status = texto;
    historicoStatus.push_back(texto);
  }
  void ProgressPosition(int32_t p) override { posicao = std::clamp(p, 0, maximo); }
  void ProgressMax(int32_t m) override {
    maximo = std::max(m, 0);
    posicao = std::min(posicao, maximo);
  }
  void ProgressStepBy(int32_t n) override {
    ++passos;
    posicao = std::clamp(posicao + n, 0, maximo);
  }
  void ProgressEnabled(bool h) override { progressHabilitado = h; }
  void ImportarEnabled(bool h) override { importarHabilitado = h; }
  void EdArquivoText(const std::string& t) override { edArquivo = t; }
  void ProcessaMensagens() override { ++mensagensProcessadas; }

  std::optional<std::string> AbreArquivo(const std::string& descricao, const std::string& padrao) override {
    caixas.push_back("abrir: " + descricao + "|" + padrao);
    if (arquivos.empty()) {
      ADD_FAILURE() << "unexpected file dialog";
      return std::nullopt;
    }
    auto answer = arquivos.front();
    arquivos.pop_front();
    return answer;
  }
  bool Confirma(const std::string& texto) override {
    caixas.push_back("confirma: " + texto);
    if (respostas.empty()) {
      ADD_FAILURE() << "unexpected question: " << texto;
      return false;
    }
    bool answer = respostas.front();
    respostas.pop_front();
    return answer;
  }
  void MsgErro(const std::string& texto) override { caixas.push_back("erro: " + texto); }
  void MsgInformacao(const std::string& texto) override { caixas.push_back("info: " + texto); }
  void Exibir(const runtime::LineList& lista) override {
    caixas.push_back("exibir: " + std::to_string(lista.size()) + " itens");
    exibidos.push_back(lista);
    if (aoExibir) aoExibir(lista);
  }
};

}  // namespace testsupport
