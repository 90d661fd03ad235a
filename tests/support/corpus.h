#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/winfax_writer.h"

namespace quillon::test {

// One real fax page of the shared corpus and the pixel hash it decodes to:
// libtiff's decoding of the file, one bit per pixel, 1 = black, rows padded
// to whole bytes, FNV-1a 64. hash is made at run time from libtiff's decoding;
// listedHash is the value the corpus notes list, and the two must agree.
struct CorpusPage {
    std::string file;
    std::uint64_t listedHash;
    unsigned width;
    unsigned rows;
    std::uint64_t hash = 0;
};

std::filesystem::path corpusDir();
bool corpusAvailable();
const std::vector<CorpusPage>& corpusPages();
// The eight ITU test pages (CCITT_1 to CCITT_8).
std::vector<CorpusPage> ituPages();

// The first page of a corpus file, decoded with libtiff and coded again.
WinFaxPage winFaxPageFromCorpus(const std::string& corpusFile, FaxPageCoding coding, std::uint8_t resolution = 1);

}  // namespace quillon::test

// Skips the current test when the shared corpus is not beside the project.
#define QUILLON_REQUIRE_CORPUS()                                                       \
    do {                                                                               \
        if (!::quillon::test::corpusAvailable())                                       \
            GTEST_SKIP() << "corpus folder not found: " << ::quillon::test::corpusDir(); \
    } while (0)
