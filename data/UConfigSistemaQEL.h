#pragma once

#include <string>

// Branch settings of the settings file beside the executable; read anew at every call.
class TConfigSistemaQEL {
 public:
  TConfigSistemaQEL() = delete;

  static std::string ArquivoIni();
  static std::string LeIni(const std::string& secao, const std::string& chave, const std::string& padrao);
  // CodLogica of FilialMatriz as a normalised decimal integer text; "0" by default.
  static std::string GetCodLogica();
};
