// Copies TIFF files to CCITT Group 4 with copyTiff, the counterpart of
// `tiffcp -c g4 <input>... <output>` for tiffcopy_bench.sh, which times both
// as processes so that each pays the same start-up: the first input replaces
// the output, the others are appended to it.

#include <cstdio>

#include "tiffcopy/tiff_page_copier.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: tiffcopy_copy <input>... <output>\n", stderr);
        return 2;
    }
    quillon::CopyOptions options;
    for (int input = 1; input < argc - 1; ++input) {
        options.append = input > 1;
        if (quillon::copyTiff(argv[input], argv[argc - 1], options) != quillon::copyTiffDone) return 1;
    }
    return 0;
}
