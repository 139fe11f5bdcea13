#include "runtime/ProfileFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "tests/support/TempDir.h"

namespace {

using testsupport::TempDir;
using testsupport::WriteBytes;

const std::string kFallback = "(fallback)";

// A settings file as installations write it, CR LF and Windows-1252.
const std::string kSettings =
    "; Quiravel\r\n"
    "[ip]\r\n"
    "local=192.168.0.10\r\n"
    "  database = quiravel  \r\n"
    "usuario=\r\n"
    "senha=  \r\n"
    "Porta=\t3307\t\r\n"
    "dupla=primeira\r\n"
    "dupla=segunda\r\n"
    "aspas=\"  com espa\xE7os  \"\r\n"
    "simples='x'\r\n"
    "meia=\"aberta\r\n"
    "mistas=\"x'\r\n"
    "so=\"\r\n"
    "vazias=\"\"\r\n"
    "dentro=a\"b\"c\r\n"
    "igual=a=b\r\n"
    ";comentada=sim\r\n"
    "semigual\r\n"
    "Descri\xC7\xC3O=loja\r\n"
    "\r\n"
    "[ FilialMatriz ]\r\n"
    "CodLogica=007\r\n"
    "local=nao e do ip\r\n"
    "[ip]\r\n"
    "dupla=terceira\r\n"
    "tarde=de outra secao ip\r\n";

TEST(ReadProfileString, FollowsTheReaderRules) {
  TempDir dir;
  const std::string path = dir.file("sistema_qel.ini");
  WriteBytes(path, kSettings);
  const struct {
    std::string section;
    std::string key;
    std::string expected;
  } cases[] = {
      {"ip", "local", "192.168.0.10"},
      {"IP", "LOCAL", "192.168.0.10"},
      {"ip", "database", "quiravel"},
      {"ip", "usuario", ""},  // present but empty: not the fallback
      {"ip", "senha", ""},
      {"ip", "porta", "3307"},
      {"ip", "dupla", "primeira"},
      {"ip", "aspas", "  com espaços  "},
      {"ip", "simples", "x"},
      {"ip", "meia", "\"aberta"},
      {"ip", "mistas", "\"x'"},
      {"ip", "so", "\""},
      {"ip", "vazias", ""},
      {"ip", "dentro", "a\"b\"c"},
      {"ip", "igual", "a=b"},
      {"ip", "descrição", "loja"},  // accented names match regardless of case too
      {"ip", "tarde", "de outra secao ip"},
      {"filialmatriz", "codlogica", "007"},
      {"FilialMatriz", "local", "nao e do ip"},
      {"ip", "ausente", kFallback},
      {"ip", ";comentada", kFallback},
      {"ip", "comentada", kFallback},
      {"ip", "semigual", kFallback},
      {"FilialMatriz", "database", kFallback},
      {"ausente", "local", kFallback},
      {"", "local", kFallback},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.section + "/" + c.key);
    EXPECT_EQ(runtime::ReadProfileString(path, c.section, c.key, kFallback), c.expected);
  }
}

TEST(ReadProfileString, ReadsEveryKindOfLineEnd) {
  TempDir dir;
  const std::string cases[] = {
      "[ip]\nPorta=1\nlocal=h\n",
      "[ip]\rPorta=1\rlocal=h",
      "[ip]\r\n\r\nPorta=1\n\rlocal=h",
      "\xEF\xBB\xBF[ip]\r\nPorta=1\r\nlocal=h\r\n",  // saved as UTF-8 with its mark
  };
  for (const std::string& bytes : cases) {
    SCOPED_TRACE(testing::PrintToString(bytes));
    WriteBytes(dir.file("x.ini"), bytes);
    EXPECT_EQ(runtime::ReadProfileString(dir.file("x.ini"), "ip", "Porta", kFallback), "1");
    EXPECT_EQ(runtime::ReadProfileString(dir.file("x.ini"), "ip", "local", kFallback), "h");
  }
}

TEST(ReadProfileString, ConvertsTheValueToUtf8) {
  TempDir dir;
  WriteBytes(dir.file("cp.ini"), "[loja]\r\nnome=Padaria S\xE3o Jo\xE3o \x80\r\n");
  EXPECT_EQ(runtime::ReadProfileString(dir.file("cp.ini"), "loja", "nome", kFallback), "Padaria São João €");
  // A UTF-8 file holds what the program's character set can, and the rest as "?".
  WriteBytes(dir.file("utf8.ini"), "\xEF\xBB\xBF[loja]\r\nnome=Padaria S\xC3\xA3o Jo\xC3\xA3o \xE6\x97\xA5\xFF\r\n");
  EXPECT_EQ(runtime::ReadProfileString(dir.file("utf8.ini"), "loja", "nome", kFallback), "Padaria São João ??");
}

TEST(ReadProfileString, CutsLongValuesAt2047Characters) {
  TempDir dir;
  const std::string longValue = std::string(2040, 'a') + std::string(960, '\xE9');
  WriteBytes(dir.file("x.ini"), "[s]\r\nk=" + longValue + "\r\nq=\"" + std::string(3000, 'b') + "\"\r\n");
  std::string expected = std::string(2040, 'a');
  for (int i = 0; i < 7; ++i) expected += "é";
  EXPECT_EQ(runtime::ReadProfileString(dir.file("x.ini"), "s", "k", kFallback), expected);
  // The quotes around the whole value still go.
  EXPECT_EQ(runtime::ReadProfileString(dir.file("x.ini"), "s", "q", kFallback), std::string(2047, 'b'));
}

TEST(ReadProfileString, NeverFailsOnWhatIsNoSettingsFile) {
  TempDir dir;
  std::string garbage;
  for (int i = 0; i < 70000; ++i) garbage.push_back(static_cast<char>((i * 7919) % 256));
  WriteBytes(dir.file("garbage.ini"), garbage);
  WriteBytes(dir.file("nul.ini"), std::string("[s]\r\nk=ab\0cd\r\nnext=1\r\n", 22));
  std::string enormous = "[s]\nk=first\n" + std::string(5 * 1024 * 1024, '\n') + "[s]\nlate=1\n";
  WriteBytes(dir.file("enormous.ini"), enormous);
  mkdir(dir.file("folder.ini").c_str(), 0755);
  mkfifo(dir.file("fifo.ini").c_str(), 0644);

  const struct {
    std::string path;
    std::string key;
    std::string expected;
  } cases[] = {
      {dir.file("absent.ini"), "k", kFallback},
      {dir.file("folder.ini"), "k", kFallback},
      {dir.file("fifo.ini"), "k", kFallback},  // must not wait for a writer
      {dir.file("garbage.ini"), "k", kFallback},
      {dir.file("nul.ini"), "k", "ab"},
      {dir.file("nul.ini"), "next", "1"},
      {dir.file("enormous.ini"), "k", "first"},
      {dir.file("enormous.ini"), "late", kFallback},  // beyond what is read
      {"", "k", kFallback},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path + " " + c.key);
    EXPECT_EQ(runtime::ReadProfileString(c.path, "s", c.key, kFallback), c.expected);
  }
}

// A value asked for again and again follows every change of its file at the next Read,
// also one that keeps the size and comes at once.
TEST(ProfileValue, FollowsTheFileAtEveryRead) {
  TempDir dir;
  const std::string path = dir.file("sistema_qel.ini");
  runtime::ProfileValue codigo(path, "FilialMatriz", "codlogica", "0");
  EXPECT_EQ(codigo.Read(), "0");  // no file yet
  const struct {
    std::string bytes;
    std::string expected;
  } steps[] = {
      {"[FilialMatriz]\r\nCodLogica=7\r\n", "7"},
      {"[FilialMatriz]\r\nCodLogica=8\r\n", "8"},
      {"[FilialMatriz]\r\nCodLogica=\"\xE9\"\r\n", "é"},
      {"[ip]\r\nCodLogica=9\r\n", "0"},
      {"", "0"},
      {"[FILIALMATRIZ]\nCODLOGICA = 10\n", "10"},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.bytes);
    WriteBytes(path, step.bytes);
    EXPECT_EQ(codigo.Read(), step.expected);
    EXPECT_EQ(codigo.Read(), step.expected);
  }
  std::remove(path.c_str());
  EXPECT_EQ(codigo.Read(), "0");
}

// Only bytes some seconds old are kept between calls; the other tests read files just
// written. Here the file has settled first.
TEST(ReadProfileString, ASettledFileAnswersEveryQuestionAndShowsAChangeAtOnce) {
  TempDir dir;
  const std::string path = dir.file("sistema_qel.ini");
  WriteBytes(path, kSettings);
  std::this_thread::sleep_for(std::chrono::milliseconds(3100));
  const struct {
    std::string section;
    std::string key;
    std::string fallback;
    std::string expected;
  } questions[] = {
      {"FilialMatriz", "CodLogica", "0", "007"},
      {"FilialMatriz", "CodLogica", "0", "007"},
      {"FilialMatriz", "codlogica", "0", "007"},
      {"ip", "CodLogica", "0", "0"},
      {"ip", "CodLogica", "1", "1"},
      {"FilialMatriz", "local", "0", "nao e do ip"},
      {"FilialMatriz", "CodLogica", "0", "007"},
  };
  for (int round = 0; round < 2; ++round) {
    for (const auto& q : questions) {
      SCOPED_TRACE(q.section + "/" + q.key + " or " + q.fallback);
      EXPECT_EQ(runtime::ReadProfileString(path, q.section, q.key, q.fallback), q.expected);
    }
  }
  runtime::ProfileValue codigo(path, "FilialMatriz", "CodLogica", "0");
  for (int read = 0; read < 3; ++read) EXPECT_EQ(codigo.Read(), "007");

  std::string changed = kSettings;
  changed.replace(changed.find("CodLogica=007"), 13, "CodLogica=008");
  WriteBytes(path, changed);
  EXPECT_EQ(runtime::ReadProfileString(path, "FilialMatriz", "CodLogica", "0"), "008");
  EXPECT_EQ(codigo.Read(), "008");
}

}  // namespace
