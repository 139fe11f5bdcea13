#include "data/UDao.h"

#include <algorithm>
#include <exception>
#include <limits>
#include <stdexcept>

#include "db/Error.h"
#include "runtime/Failure.h"
#include "runtime/IntText.h"
#include "runtime/Paths.h"
#include "runtime/ProfileFile.h"

namespace {

const char* const kArquivoPadrao = "sistema_qel.ini";
const char* const kChaveSenha = "KZQ";
const char* const kSenhaPadrao = "5E19B07C3A8D26F41B90";
const char* const kSenhaReserva = "741852qwe";
constexpr int32_t kPortaPadrao = 3306;

// A stored password that cannot be unscrambled falls back without a word: settings
// never fail.
std::string SenhaDe(const std::string& armazenada) {
  try {
    return DecodificaSenha(armazenada, kChaveSenha);
  } catch (const std::exception&) {
    return kSenhaReserva;
  }
}

void LeCentral(const std::string& arquivo, const std::string& secao, TConfiguracaoConexao& config) {
  // Declared in this order so the query goes before the auxiliary connection it runs on.
  std::unique_ptr<db::Connection> auxiliar = TDao::ConectaIni(arquivo, secao);
  std::unique_ptr<db::Query> consulta =
      TDao::AbreConsulta(*auxiliar, "select * from config_central limit 1", true, false);
  if (consulta->IsEmpty()) return;
  config.servidor = consulta->FieldAsText("ip_central");
  config.banco = consulta->FieldAsText("banco_dados");
  config.usuario = consulta->FieldAsText("usuario");
  // A missing column falls back like a text that does not unscramble.
  try {
    config.senha = DecodificaSenha(consulta->FieldAsText("senha"), kChaveSenha);
  } catch (const std::exception&) {
    config.senha = kSenhaReserva;
  }
}

}  // namespace

std::string TDao::ArquivoConfiguracao(const std::string& nome) {
  return ArquivoConfiguracao(nome, runtime::kFolderSeparators, runtime::ExecutableFolder());
}

std::string TDao::ArquivoConfiguracao(const std::string& nome, std::string_view separadores,
                                      const std::string& pasta) {
  if (nome.empty()) return pasta + kArquivoPadrao;
  if (runtime::HasFolderPart(nome, separadores)) return nome;
  return pasta + nome;
}

TConfiguracaoConexao TDao::LeConfiguracao(const std::string& arquivo, const std::string& secao, bool central) {
  TConfiguracaoConexao config;
  try {
    const std::string caminho = ArquivoConfiguracao(arquivo);
    config.servidor = runtime::ReadProfileString(caminho, secao, central ? "central" : "local", "");
    config.banco = runtime::ReadProfileString(caminho, secao, "database", "");
    config.usuario = runtime::ReadProfileString(caminho, secao, "usuario", "root");
    config.porta = runtime::ToInt32(runtime::ReadProfileString(caminho, secao, "Porta", ""), kPortaPadrao);
    config.senha = SenhaDe(runtime::ReadProfileString(caminho, secao, "senha", kSenhaPadrao));
    // The central record overrides what it can; whatever it set before a failure stays.
    if (central) LeCentral(arquivo, secao, config);
  } catch (const std::exception&) {
  }
  return config;
}

std::unique_ptr<db::Connection> TDao::Conecta(const std::string& servidor, const std::string& banco,
                                              const std::string& usuario, const std::string& senha,
                                              int32_t porta) {
  try {
    return std::make_unique<db::Connection>(db::ConnectionSettings{servidor, banco, usuario, senha, porta});
  } catch (const std::runtime_error& erro) {
    throw runtime::Failure(erro.what());
  }
}

std::unique_ptr<db::Connection> TDao::ConectaIni(const std::string& arquivo, const std::string& secao) {
  const TConfiguracaoConexao config = LeConfiguracao(arquivo, secao, false);
  return Conecta(config.servidor, config.banco, config.usuario, config.senha, config.porta);
}

std::unique_ptr<db::Query> TDao::AbreConsulta(db::Connection& conexao, const std::string& sql, bool levantaErro,
                                              bool cachedUpdates) {
  // The client layer fetches the whole result on opening and writes nothing back, so there
  // are no cached updates to hand on.
  (void)cachedUpdates;
  try {
    auto consulta = std::make_unique<db::Query>(conexao, sql);
    consulta->Open();
    return consulta;
  } catch (const std::runtime_error& erro) {
    if (levantaErro) throw runtime::Failure(erro.what());
    return nullptr;
  }
}

runtime::Value TDao::BuscaValor(db::Connection& conexao, const std::string& sql, const runtime::Value& padrao,
                                bool levantaErro) {
  // Stays empty, not the default, when the lookup fails before it found anything.
  runtime::Value valor;
  try {
    db::Query consulta(conexao, sql);
    consulta.Open();
    valor = consulta.IsEmpty() ? padrao : consulta.FirstColumn();
    if (runtime::IsNull(valor)) valor = padrao;
    consulta.Close();
  } catch (const std::runtime_error& erro) {
    if (levantaErro) throw runtime::Failure(erro.what());
  }
  return valor;
}

int32_t TDao::Executa(db::Connection& conexao, TSqlMount& sql, bool levantaErro) {
  // Failures of the builder and of filling the command are the system's own: they pass.
  db::Command comando(conexao, sql.Instrucao());
  comando.AssignParams(sql.GetParams());
  try {
    comando.Execute();
  } catch (const std::runtime_error& erro) {
    if (levantaErro) throw runtime::Failure(erro.what());
    return -1;
  }
  return static_cast<int32_t>(std::clamp<int64_t>(comando.AffectedRows(), std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}
