#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/Command.h"
#include "db/Connection.h"
#include "db/Query.h"
#include "runtime/LineList.h"
#include "runtime/Value.h"

// Password codec of the stored passwords (settings file and config_central). Byte strings
// in, byte strings out. Mode "E" scrambles, "D" unscrambles, any other mode gives "".
// Throws runtime::Failure on a piece that is no hexadecimal number, and on an empty key.
std::string Embaralha(const std::string& modo, const std::string& texto, const std::string& chave);

// "" for a blank stored text (codes 0..32 only), else Embaralha("D", texto, chave).
std::string DecodificaSenha(const std::string& texto, const std::string& chave);

struct TConfiguracaoConexao {
  std::string servidor;
  std::string banco;
  std::string usuario;
  // Windows-1252 bytes exactly as unscrambled, never converted to UTF-8: the server
  // accounts of existing installations were made for those bytes. Never show or log it.
  std::string senha;
  int32_t porta = 3306;
};

enum TSQLMountType : uint8_t { smUpdate = 0, smInsert = 1, smReplace = 2 };

// Builds one insert, replace or update on one table; values travel as named parameters.
class TSqlMount {
 public:
  TSqlMount(TSQLMountType tipo, const std::string& tabela);

  void AddCampo(const std::string& nome, const runtime::Value& valor, runtime::FieldType tipo);

  // Throws runtime::Failure "Nao ha campos para gerar a instrucao sql." without fields,
  // then "SQLMountType inválido." for a kind outside 0..2.
  runtime::LineList GetSQL() const;

  // GetSQL's text form with its placeholders found; the same object again as long as the
  // kind, Tabela, Condicao, Campos and Valores are what they were. Throws as GetSQL.
  std::shared_ptr<const db::StatementText> Instrucao() const;

  // ParamsBanco rebuilt from Params.
  const std::vector<db::Param>& GetParams();

  std::string ValorCampo(const std::string& nome) const;
  void Limpa();

  std::string Tabela;
  std::string Condicao;
  TSQLMountType SQLMountType;
  std::vector<db::Param> Params;
  std::vector<db::Param> ParamsBanco;
  runtime::LineList Campos;
  runtime::LineList Valores;  // name=expression overrides

 private:
  // A statement built, with everything its text depends on.
  struct Montada {
    TSQLMountType tipo;
    std::string tabela;
    std::string condicao;
    runtime::LineList campos;
    runtime::LineList valores;
    std::shared_ptr<const db::StatementText> instrucao;
  };

  runtime::LineList MontaInsert() const;
  runtime::LineList MontaUpdate() const;
  bool MontadaServe() const;

  // The fields are public and may change at any time, so what it was built from is
  // compared at every use instead of being invalidated by the setters.
  mutable std::optional<Montada> montada_;
};

// Data access: class operations only. Failures of db/ come out as runtime::Failure with
// the client's message alone.
class TDao {
 public:
  TDao() = delete;

  static std::string ArquivoConfiguracao(const std::string& nome);
  // The same rule with the folder separators and the folder of the bare names given.
  static std::string ArquivoConfiguracao(const std::string& nome, std::string_view separadores,
                                         const std::string& pasta);
  // Never throws.
  static TConfiguracaoConexao LeConfiguracao(const std::string& arquivo, const std::string& secao,
                                             bool central);
  // The caller owns (and so releases) the connection. Throws runtime::Failure.
  static std::unique_ptr<db::Connection> Conecta(const std::string& servidor, const std::string& banco,
                                                 const std::string& usuario, const std::string& senha,
                                                 int32_t porta);
  static std::unique_ptr<db::Connection> ConectaIni(const std::string& arquivo, const std::string& secao);
  // An open query on its first row, or null after a failure when levantaErro is off.
  static std::unique_ptr<db::Query> AbreConsulta(db::Connection& conexao, const std::string& sql,
                                                 bool levantaErro, bool cachedUpdates);

  static runtime::Value BuscaValor(db::Connection& conexao, const std::string& sql,
                                   const runtime::Value& padrao, bool levantaErro);
  // Affected rows, or -1 after a failed execution without levantaErro. GetSQL failures
  // pass through whatever the flag. A new command each time, over the builder's text.
  static int32_t Executa(db::Connection& conexao, TSqlMount& sql, bool levantaErro);
};
