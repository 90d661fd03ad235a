// The word errors of a text read from a page against the page's known text:
// the fewest words substituted, left out or added to turn one into the
// other (Levenshtein distance over words split at white space, compared as
// they are, punctuation included). Prints "<errors> <known words>".
//
//   quillon_word_error_rate <known text file> <read text file>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

bool readWords(const char* path, std::vector<std::string>& words) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    words.assign(std::istream_iterator<std::string>(in), std::istream_iterator<std::string>());
    return true;
}

std::size_t wordDistance(const std::vector<std::string>& known, const std::vector<std::string>& read) {
    std::vector<std::size_t> previous(read.size() + 1), current(read.size() + 1);
    for (std::size_t j = 0; j <= read.size(); ++j) previous[j] = j;
    for (std::size_t i = 1; i <= known.size(); ++i) {
        current[0] = i;
        for (std::size_t j = 1; j <= read.size(); ++j)
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1,
                                   previous[j - 1] + (known[i - 1] == read[j - 1] ? 0 : 1)});
        std::swap(previous, current);
    }
    return previous[read.size()];
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> known, read;
    if (argc != 3 || !readWords(argv[1], known) || !readWords(argv[2], read)) {
        std::fprintf(stderr, "usage: quillon_word_error_rate <known text file> <read text file>\n");
        return 2;
    }
    std::printf("%zu %zu\n", wordDistance(known, read), known.size());
    return 0;
}
