// SPDX-License-Identifier: MIT
// The parameter fields' number parser against an independent statement of the same syntax,
// over the fuzzing corpus and over texts built from the syntax's own pieces.
#include "ParamNumberAgreement.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <random>
#include <string>

#ifndef KORVATEL_FUZZ_CORPUS
#error "KORVATEL_FUZZ_CORPUS must name the corpus folder"
#endif

TEST(ParamNumberAgreementTest, EveryCorpusInputAgrees) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(KORVATEL_FUZZ_CORPUS)) {
        std::ifstream file(entry.path(), std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(file)),
                               std::istreambuf_iterator<char>());
        EXPECT_EQ(ParamNumberDisagreement(text), "") << entry.path() << ": [" << text << "]";
        ++files;
    }
    EXPECT_GT(files, 20);
}

TEST(ParamNumberAgreementTest, TextsAssembledFromTheSyntaxPiecesAgree) {
    // Each text is a random sequence of the pieces the syntax is made of, plus a few that it
    // does not allow, so that near misses are as common as numbers.
    const std::string pieces[] = {" ", "+", "-",  ".",   "e",    "E",     "0",     "1",
                                  "5", "9", "00", "123", "4940", "4951",  "99999", "\t",
                                  ",", "x", "e-", "e+",  "308",  "1e400", "0.000", "inf"};
    std::mt19937 random(99);
    for (int i = 0; i < 200000; ++i) {
        std::string text;
        const int count = static_cast<int>(random() % 7);
        for (int k = 0; k < count; ++k) {
            text += pieces[random() % std::size(pieces)];
        }
        ASSERT_EQ(ParamNumberDisagreement(text), "") << "[" << text << "]";
    }
}
