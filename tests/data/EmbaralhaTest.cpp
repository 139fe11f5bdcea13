#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <random>
#include <set>
#include <string>

#include "data/UDao.h"
#include "runtime/Failure.h"

namespace {

const std::string kChave = "KZQ";

bool IsUpperHex(const std::string& text) {
  return text.find_first_not_of("0123456789ABCDEF") == std::string::npos;
}

std::string Hex(unsigned value) {
  char out[3];
  std::snprintf(out, sizeof out, "%02X", value);
  return out;
}

TEST(Embaralha, UnscramblesOddStoredTexts) {
  struct Case {
    std::string texto;
    std::optional<std::string> plano;  // nullopt: the text does not unscramble
  };
  const Case cases[] = {
      {"", std::nullopt},
      {"0", std::nullopt},
      {"00", std::nullopt},  // the scrambled form of an empty text
      {"003", "H"},          // the third character alone is a one-digit value
      {"002A", "a"},
      {"002AZ", "a"},        // the last character of an odd text is never read
      {"002AD6", "ab"},
      {"002ad6", "ab"},      // lower-case digits read like upper-case ones
      {"004B", "\xFF"},      // value equal to the previous one gives 255, never 0
      {"FF4B", std::string(1, '\0')},
      {"   ", std::nullopt},
      {" 02AD6", std::nullopt},  // a leading blank sits in the seed
      {"0G2A", std::nullopt},
      {"002G", std::nullopt},
      {"00+A", std::nullopt},
      {"00x1", std::nullopt},
      {"002AD ", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("\"" + c.texto + "\"");
    if (c.plano) {
      EXPECT_EQ(Embaralha("D", c.texto, kChave), *c.plano);
    } else {
      EXPECT_THROW(Embaralha("D", c.texto, kChave), runtime::Failure);
    }
  }
}

TEST(Embaralha, DecodificaSenhaTakesBlanksAsEmptyAndTrimsNothing) {
  EXPECT_EQ(DecodificaSenha("", kChave), "");
  EXPECT_EQ(DecodificaSenha("   ", kChave), "");
  EXPECT_EQ(DecodificaSenha(std::string("\t\r\n \x01", 5), kChave), "");
  EXPECT_EQ(DecodificaSenha("002AD6", kChave), "ab");
  EXPECT_THROW(DecodificaSenha(" 002AD6", kChave), runtime::Failure);
  EXPECT_THROW(DecodificaSenha("2A", kChave), runtime::Failure);
}

TEST(Embaralha, KeyCharactersCycleFromTheFirstAtEveryCall) {
  // Seed 10, "abcd": the fourth value takes "K" again.
  EXPECT_EQ(Embaralha("D", "103AC67B94", kChave), "abcd");
  EXPECT_EQ(Embaralha("D", "103AC67B94", kChave), "abcd");
  EXPECT_EQ(Embaralha("D", "1030D3769B", "A"), "abcd");
}

TEST(Embaralha, ModeIsComparedExactly) {
  for (const std::string modo : {"e", "d", "E ", " D", "", "X"}) {
    SCOPED_TRACE("\"" + modo + "\"");
    EXPECT_EQ(Embaralha(modo, "002AD6", kChave), "");
    EXPECT_EQ(Embaralha(modo, "abc", kChave), "");
  }
}

TEST(Embaralha, EmptyKeyFails) {
  EXPECT_THROW(Embaralha("E", "abc", ""), runtime::Failure);
  EXPECT_THROW(Embaralha("D", "002AD6", ""), runtime::Failure);
  EXPECT_THROW(DecodificaSenha("002AD6", ""), runtime::Failure);
}

TEST(Embaralha, ScrambledFormIsUpperHexSeedThenOneValuePerByte) {
  for (const std::string& plano : {std::string(), std::string("a"), std::string("senha\xE7\x01\xFE", 8)}) {
    SCOPED_TRACE(plano.size());
    const std::string embaralhado = Embaralha("E", plano, kChave);
    EXPECT_EQ(embaralhado.size(), 2 * (plano.size() + 1));
    EXPECT_TRUE(IsUpperHex(embaralhado)) << embaralhado;
  }
}

TEST(Embaralha, SeedsDifferBetweenCalls) {
  std::set<std::string> seeds;
  for (int i = 0; i < 64; ++i) {
    const std::string embaralhado = Embaralha("E", "segredo", kChave);
    EXPECT_EQ(Embaralha("D", embaralhado, kChave), "segredo");
    seeds.insert(embaralhado.substr(0, 2));
  }
  EXPECT_GT(seeds.size(), 1u);
}

TEST(Embaralha, RoundTripsEveryByteFrom1To254) {
  std::mt19937 gerador(20240331);
  std::uniform_int_distribution<int> byte(1, 254), tamanho(1, 40);
  for (const std::string chave : {"KZQ", "A", "\xFF\x01 longer key"}) {
    for (int i = 0; i < 300; ++i) {
      std::string plano(static_cast<size_t>(tamanho(gerador)), ' ');
      for (char& c : plano) c = static_cast<char>(byte(gerador));
      const std::string embaralhado = Embaralha("E", plano, chave);
      ASSERT_EQ(Embaralha("D", embaralhado, chave), plano) << embaralhado;
    }
  }
}

TEST(Embaralha, Bytes0And255ScrambleAlikeWithModulus255) {
  for (const std::string& plano : {std::string(1, '\0'), std::string("\xFF")}) {
    SCOPED_TRACE(static_cast<int>(static_cast<unsigned char>(plano[0])));
    const std::string embaralhado = Embaralha("E", plano, kChave);
    const unsigned seed = static_cast<unsigned>(std::stoul(embaralhado.substr(0, 2), nullptr, 16));
    // (seed + 0) mod 255 and (seed + 255) mod 255 are both the seed (0 for seed 255).
    EXPECT_EQ(embaralhado.substr(2), Hex((seed % 255) ^ 'K'));
    EXPECT_EQ(Embaralha("D", embaralhado, kChave), seed == 255 ? std::string(1, '\0') : "\xFF");
  }
}

TEST(Embaralha, ByteAfterWritten255ComesBackAs0) {
  std::string embaralhado;
  // A seed of FF turns up about once in 256 draws.
  for (int i = 0; i < 20000 && embaralhado.substr(0, 2) != "FF"; ++i) embaralhado = Embaralha("E", "\xFF", kChave);
  ASSERT_EQ(embaralhado, "FF4B");
  EXPECT_EQ(Embaralha("D", embaralhado, kChave), std::string(1, '\0'));
}

}  // namespace
