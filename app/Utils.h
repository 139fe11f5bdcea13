#pragma once

#include <exception>
#include <functional>
#include <string>
#include <string_view>

// The message dialogs: modal, text shown as given (UTF-8; CR LF breaks the line).
bool Confirma(const std::string& texto);  // true only when the operator chooses Yes
void MsgErro(const std::string& texto);
void MsgInformacao(const std::string& texto);

// What a message box shows. Tests put a hook in place of the real boxes so that none waits
// for a person; the hook's answer stands for Yes (Yes/No boxes) and is ignored otherwise.
enum class TIconeCaixa { Pergunta, Erro, Informacao };
struct TCaixaMensagem {
  std::string titulo;
  std::string texto;
  TIconeCaixa icone;
  bool simNao;  // Yes and No, Yes the default; otherwise OK alone
};
using TGanchoCaixas = std::function<bool(const TCaixaMensagem&)>;
// An empty hook puts the real boxes back.
void DefineGanchoCaixas(TGanchoCaixas gancho);

// The executable's file name without folder and extension, every character after the first
// in lower case.
std::string TituloPrograma(std::string_view caminhoExecutavel);
std::string TituloPrograma();

// A failure's message as the failure display shows it: "." added when the text is not empty
// and its last byte sorts after "." (so "!" and ")" keep the text as it is).
std::string TextoFalha(std::string_view mensagem);

// The default failure display: a silent abort shows nothing, any other failure its message
// under the program title, with the error icon.
void ExibeFalha(std::exception_ptr falha);

// Runs a handler at the edge of a Qt slot (Qt carries no exception through its event loop);
// a failure goes to the failure display. True when the handler ran to its end.
bool ExecutaHandler(const std::function<void()>& handler);

// Qt's own Brazilian Portuguese texts for standard buttons and dialogs, whatever the
// machine's locale. False when they are not installed.
bool CarregaTraducoes();
