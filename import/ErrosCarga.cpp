#include "import/UCargaDescontos.h"

std::string DescricaoErro(uint8_t tipo) {
  switch (tipo) {
    case kErroFornecedor:
      return "Fornecedor não encontrado de acordo com CNPJ";
    case kErroFabricante:
      return "Fabricante não encontrado de acordo com CNPJ";
    case kErroDados:
      return "Dados inválidos";
    default:
      return "";
  }
}

void AdicionaErro(std::vector<std::string>& erros, int32_t linha, uint8_t tipo,
                  const std::string& cnpjFornecedor, const std::string& cnpjFabricante,
                  const std::string& desconto) {
  if (!erros.empty()) erros.emplace_back();
  erros.push_back("Linha: " + std::to_string(linha) + "\r\n" +
                  "CNPJ Fornecedor: " + cnpjFornecedor + "\r\n" +
                  "CNPJ Fabricante: " + cnpjFabricante + "\r\n" +
                  "Desconto: " + TextoDesconto(desconto) + "\r\n" +
                  "Tipo Erro: " + DescricaoErro(tipo) + "\r\n");
}
