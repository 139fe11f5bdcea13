#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "data/UDao.h"
#include "runtime/Failure.h"
#include "runtime/LineList.h"
#include "tests/data/DescontoFields.h"

namespace {

using runtime::FieldType;
using runtime::LineList;

LineList DescontoStatement(const std::string& verbo) {
  return {verbo + "descfabric ( ",
          "fornece_id",
          ",fabricantes_id",
          ",desconto",
          ",validade",
          ",lojas_leram",
          ",apagado",
          ",grupo_descfabric_id",
          " ) ",
          " values ( ",
          ":fornece_id",
          ",:fabricantes_id",
          ",:desconto",
          ",:validade",
          ",:lojas_leram",
          ",:apagado",
          ",:grupo_descfabric_id",
          " ) "};
}

// The message of the failure that `call` raises.
template <class Call>
std::string FailureOf(Call call) {
  try {
    call();
  } catch (const runtime::Failure& falha) {
    return falha.what();
  }
  return "(no failure)";
}

std::string GetSQLFailure(const TSqlMount& sql) { return FailureOf([&] { sql.GetSQL(); }); }
std::string InstrucaoFailure(const TSqlMount& sql) { return FailureOf([&] { sql.Instrucao(); }); }

TEST(TSqlMount, ReplaceOfADiscountRow) {
  TSqlMount sql(smReplace, "descfabric");
  testsupport::AddDescontoFields(sql);
  const LineList linhas = sql.GetSQL();
  EXPECT_EQ(linhas, DescontoStatement("replace into "));
  EXPECT_EQ(runtime::TextOf(linhas).size(), 251u);
  EXPECT_EQ(linhas.at(0).size(), 26u);
}

TEST(TSqlMount, InsertDiffersOnlyInItsVerb) {
  TSqlMount sql(smInsert, "descfabric");
  testsupport::AddDescontoFields(sql);
  EXPECT_EQ(sql.GetSQL(), DescontoStatement("insert into "));
}

TEST(TSqlMount, SingleField) {
  TSqlMount sql(smReplace, "t");
  sql.AddCampo("x", int64_t{1}, FieldType::Integer);
  EXPECT_EQ(sql.GetSQL(), (LineList{"replace into t ( ", "x", " ) ", " values ( ", ":x", " ) "}));
}

TEST(TSqlMount, UpdateEndsInTheEmptyCondition) {
  TSqlMount sql(smUpdate, "descfabric");
  testsupport::AddDescontoFields(sql);
  const LineList linhas = sql.GetSQL();
  EXPECT_EQ(linhas, (LineList{" update descfabric set ", "fornece_id = :fornece_id",
                              ",fabricantes_id = :fabricantes_id", ",desconto = :desconto",
                              ",validade = :validade", ",lojas_leram = :lojas_leram", ",apagado = :apagado",
                              ",grupo_descfabric_id = :grupo_descfabric_id", ""}));
  EXPECT_TRUE(runtime::TextOf(linhas).ends_with(" = :grupo_descfabric_id\r\n\r\n"));
}

TEST(TSqlMount, UpdateTakesTheConditionAsItsLastLine) {
  TSqlMount sql(smUpdate, "t");
  sql.Condicao = "where id = 1";
  sql.AddCampo("x", int64_t{1}, FieldType::Integer);
  EXPECT_EQ(sql.GetSQL(), (LineList{" update t set ", "x = :x", "where id = 1"}));
}

TEST(TSqlMount, GetSQLFailures) {
  struct Case {
    uint8_t tipo;
    bool comCampo;
    std::string mensagem;
  };
  const Case cases[] = {
      {smUpdate, false, "Nao ha campos para gerar a instrucao sql."},
      {smInsert, false, "Nao ha campos para gerar a instrucao sql."},
      {smReplace, false, "Nao ha campos para gerar a instrucao sql."},
      {7, false, "Nao ha campos para gerar a instrucao sql."},  // fields are checked first
      {7, true, "SQLMountType inválido."},
      {3, true, "SQLMountType inválido."},
      {255, true, "SQLMountType inválido."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.tipo) + (c.comCampo ? " with a field" : " without fields"));
    TSqlMount sql(static_cast<TSQLMountType>(c.tipo), "t");
    if (c.comCampo) sql.AddCampo("x", int64_t{1}, FieldType::Integer);
    EXPECT_EQ(GetSQLFailure(sql), c.mensagem);
  }
}

TEST(TSqlMount, LimpaEmptiesTheFieldsButKeepsTableKindAndTheLastParams) {
  TSqlMount sql(smReplace, "descfabric");
  testsupport::AddDescontoFields(sql);
  sql.Valores = {"apagado='S'"};
  sql.GetParams();
  sql.Limpa();
  EXPECT_EQ(GetSQLFailure(sql), "Nao ha campos para gerar a instrucao sql.");
  EXPECT_TRUE(sql.Params.empty());
  EXPECT_TRUE(sql.Campos.empty());
  EXPECT_TRUE(sql.Valores.empty());
  EXPECT_EQ(sql.Tabela, "descfabric");
  EXPECT_EQ(sql.SQLMountType, smReplace);
  EXPECT_EQ(sql.ParamsBanco.size(), 7u);
  EXPECT_TRUE(sql.GetParams().empty());

  sql.AddCampo("x", int64_t{1}, FieldType::Integer);
  EXPECT_EQ(sql.GetSQL(), (LineList{"replace into descfabric ( ", "x", " ) ", " values ( ", ":x", " ) "}));
}

TEST(TSqlMount, ValoresOverrideThePlaceholder) {
  struct Case {
    std::string nome;
    LineList valores;
    LineList insert;  // the value lines, between " values ( " and " ) "
    std::string update;
  };
  const Case cases[] = {
      {"no override", {}, {":Codigo", ",:nome"}, ",nome = :nome"},
      {"other case", {"NOME=upper('a')"}, {":Codigo", ",upper('a')"}, ",nome = upper('a')"},
      {"name and = alone", {"nome="}, {":Codigo", ",:nome"}, ",nome = :nome"},
      {"first matching line wins", {"nome=", "nome=1"}, {":Codigo", ",:nome"}, ",nome = :nome"},
      {"everything after the first =", {"nome=a=b"}, {":Codigo", ",a=b"}, ",nome = a=b"},
      {"line without =", {"nome"}, {":Codigo", ",:nome"}, ",nome = :nome"},
      {"other field", {"nom=1", "nomes=2"}, {":Codigo", ",:nome"}, ",nome = :nome"},
      {"placeholder keeps the field's case", {"codigo="}, {":Codigo", ",:nome"}, ",nome = :nome"},
      {"expression over lines", {"nome=concat(\r\n'a')"}, {":Codigo", ",concat(", "'a')"},
       ",nome = concat(\r\n'a')"},
      {"first field's expression over lines", {"codigo=1\n+2"}, {"1", "+2", ",:nome"}, ",nome = :nome"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.nome);
    TSqlMount insert(smInsert, "t");
    TSqlMount update(smUpdate, "t");
    for (TSqlMount* sql : {&insert, &update}) {
      sql->AddCampo("Codigo", int64_t{1}, FieldType::Integer);
      sql->AddCampo("nome", std::string("x"), FieldType::String);
      sql->Valores = c.valores;
    }
    LineList esperado{"insert into t ( ", "Codigo", ",nome", " ) ", " values ( "};
    esperado.insert(esperado.end(), c.insert.begin(), c.insert.end());
    esperado.push_back(" ) ");
    EXPECT_EQ(insert.GetSQL(), esperado);
    EXPECT_EQ(update.GetSQL().at(2), c.update);
  }
}

TEST(TSqlMount, FieldAddedTwiceStandsTwice) {
  TSqlMount sql(smReplace, "t");
  sql.AddCampo("x", int64_t{1}, FieldType::Integer);
  sql.AddCampo("x", int64_t{2}, FieldType::Integer);
  EXPECT_EQ(sql.GetSQL(), (LineList{"replace into t ( ", "x", ",x", " ) ", " values ( ", ":x", ",:x", " ) "}));
  const auto& params = sql.GetParams();
  ASSERT_EQ(params.size(), 2u);
  EXPECT_EQ(params[0].value, runtime::Value(int64_t{1}));
  EXPECT_EQ(params[1].value, runtime::Value(int64_t{2}));
}

TEST(TSqlMount, GetParamsRebuildsWithoutGrowing) {
  TSqlMount sql(smReplace, "descfabric");
  testsupport::AddDescontoFields(sql);
  sql.AddCampo("nulo", runtime::Null{}, FieldType::String);
  sql.AddCampo("bruto", std::string("\0\xFF", 2), FieldType::Blob);
  const std::vector<db::Param> primeira = sql.GetParams();
  const std::vector<db::Param>& segunda = sql.GetParams();
  EXPECT_EQ(&segunda, &sql.ParamsBanco);
  ASSERT_EQ(segunda.size(), 9u);
  for (size_t i = 0; i < segunda.size(); ++i) {
    SCOPED_TRACE(sql.Params[i].name);
    EXPECT_EQ(segunda[i].name, sql.Params[i].name);
    EXPECT_EQ(segunda[i].type, sql.Params[i].type);
    EXPECT_EQ(segunda[i].value, sql.Params[i].value);
    EXPECT_EQ(primeira[i].value, segunda[i].value);
  }
  EXPECT_EQ(segunda[2].type, FieldType::Currency);
  EXPECT_EQ(segunda[2].value, runtime::Value(runtime::Currency{105000}));
  EXPECT_EQ(segunda[8].value, runtime::Value(std::string("\0\xFF", 2)));
}

// The statement is kept between rows; whatever its text depends on, changed in between,
// must show in the next one, and a row of the same shape must get the same statement.
TEST(TSqlMount, InstrucaoFollowsEveryChangeOfWhatTheTextDependsOn) {
  struct Case {
    const char* what;
    void (*change)(TSqlMount&);
    bool mesmoTexto;
  };
  const Case cases[] = {
      {"the same fields again, other values and types",
       [](TSqlMount& sql) {
         sql.Limpa();
         sql.Valores = {"desconto="};
         sql.AddCampo("fornece_id", int64_t{99}, FieldType::String);
         sql.AddCampo("desconto", runtime::Null{}, FieldType::Integer);
       },
       true},
      {"a field renamed", [](TSqlMount& sql) { sql.Campos[1] = "desconto2"; }, false},
      {"a field's case", [](TSqlMount& sql) { sql.Campos[0] = "Fornece_Id"; }, false},
      {"a field more", [](TSqlMount& sql) { sql.AddCampo("apagado", std::string("N"), FieldType::String); }, false},
      {"a field less", [](TSqlMount& sql) { sql.Campos.pop_back(); }, false},
      {"the table", [](TSqlMount& sql) { sql.Tabela = "descfabric_copia"; }, false},
      {"the kind", [](TSqlMount& sql) { sql.SQLMountType = smInsert; }, false},
      {"an override", [](TSqlMount& sql) { sql.Valores = {"desconto=0"}; }, false},
      {"no override", [](TSqlMount& sql) { sql.Valores.clear(); }, true},  // "desconto=" overrides nothing
      {"update, then its condition",
       [](TSqlMount& sql) {
         sql.SQLMountType = smUpdate;
         sql.Instrucao();
         sql.Condicao = "where fornece_id = 1";
       },
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TSqlMount sql(smReplace, "descfabric");
    sql.AddCampo("fornece_id", int64_t{12}, FieldType::Integer);
    sql.AddCampo("desconto", runtime::Currency{105000}, FieldType::Currency);
    sql.Valores = {"desconto="};
    const std::shared_ptr<const db::StatementText> antes = sql.Instrucao();
    ASSERT_EQ(antes->Text(), runtime::TextOf(sql.GetSQL()));
    ASSERT_EQ(sql.Instrucao(), antes);

    c.change(sql);

    const std::shared_ptr<const db::StatementText> depois = sql.Instrucao();
    EXPECT_EQ(depois->Text(), runtime::TextOf(sql.GetSQL()));
    EXPECT_EQ(depois->Text() == antes->Text(), c.mesmoTexto);
    EXPECT_EQ(depois->Placeholders().size(), db::FindPlaceholders(depois->Text()).size());
  }
}

TEST(TSqlMount, InstrucaoFailsAsGetSQLAfterItServed) {
  TSqlMount sql(smReplace, "t");
  sql.AddCampo("x", int64_t{1}, FieldType::Integer);
  sql.Instrucao();
  sql.SQLMountType = static_cast<TSQLMountType>(7);
  EXPECT_EQ(InstrucaoFailure(sql), "SQLMountType inválido.");
  sql.SQLMountType = smReplace;
  sql.Limpa();
  EXPECT_EQ(InstrucaoFailure(sql), "Nao ha campos para gerar a instrucao sql.");
  sql.AddCampo("x", int64_t{2}, FieldType::Integer);
  EXPECT_EQ(sql.Instrucao()->Text(), "replace into t ( \r\nx\r\n ) \r\n values ( \r\n:x\r\n ) \r\n");
}

}  // namespace
