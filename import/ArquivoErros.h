#pragma once

#include <ctime>
#include <string>

#include "runtime/LineList.h"

// Writes the error list (Windows-1252, every item followed by CR LF) into a new file
// ARQERRO_QUIRAVEL_yyyymmdd_hhnnss.txt in pasta, stamped with momento in local time. A name
// already taken gets "_2", "_3", ... before ".txt": an earlier error file is never replaced.
// Returns the path written. Throws runtime::Failure "Cannot create file ...".
std::string GravaArquivoErros(const std::string& pasta, const runtime::LineList& erros, std::time_t momento);
