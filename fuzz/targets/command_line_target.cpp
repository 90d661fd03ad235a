// Bytes as one command-line text, split into words and parsed; or as a
// wildcard pattern and a name. The parser gives one of its documented
// results, and a pattern without wildcards matches itself and nothing longer.

#include <strings.h>

#include <algorithm>
#include <cstring>
#include <sstream>
#include <string_view>

#include "cli/command_line.h"
#include "fuzz_targets.h"
#include "oracle.h"
#include "platform/wildcard.h"

namespace quillon::fuzz {

namespace {

// Only the values of these options may hold blanks, when quoted.
bool quotableOption(const std::string& word) {
    for (const char* prefix : {"/d=", "/sd=", "/f=", "/sf=", "/log=", "/report=", "/verify="})
        if (strncasecmp(word.c_str(), prefix, std::strlen(prefix)) == 0) return true;
    return false;
}

void parse(const std::string& text) {
    const std::vector<std::string> words = splitCommandLine(text);
    std::size_t letters = 0;
    for (const std::string& word : words) {
        expect(!word.empty(), "an empty word");
        expect(word.find(' ') == std::string::npos || quotableOption(word), "a blank inside \"" + word + "\"");
        letters += word.size();
    }
    expect(letters <= text.size(), "the words hold more than the text");

    std::ostringstream out, err;
    const ParsedCommandLine parsed = parseCommandLine(words, ConvertOptions{}, "", out, err);
    const CommandLineRequest result = parsed.request;
    const BatchJob& job = parsed.job;
    expect(result != CommandLineRequest::Absent, "words given, yet no command line");
    expect((result == CommandLineRequest::Empty) == words.empty(), "an empty command line not told as such");
    if (result == CommandLineRequest::Verify)
        expect(job.mode == JobMode::Verify && !job.verifyReport.empty(), "a check without its report");
    else if (result == CommandLineRequest::Convert)
        expect(job.mode != JobMode::None && job.mode != JobMode::Verify && !job.destination.empty(),
               "a job without a destination");
    if (result == CommandLineRequest::Incomplete)
        expect(!out.str().empty() || !err.str().empty(), "an incomplete line told nothing");
    if (result == CommandLineRequest::Refused) expect(!err.str().empty(), "a refused value without its error");
    expect(parsed.logPath.size() <= kMaxLogPathLength, "a log path beyond the limit");
    const std::vector<std::string> plain = plainWords(words);
    for (const std::string& word : plain)
        expect(std::find(words.begin(), words.end(), word) != words.end(), "a plain word that was not given");
}

void match(std::string_view pattern, std::string_view name) {
    platform::wildcardMatch(pattern, name);
    expect(platform::wildcardMatch("*", name), "* does not match everything");
    if (pattern.find_first_of("*?") != std::string_view::npos) return;
    expect(platform::wildcardMatch(pattern, pattern), "a plain pattern does not match itself");
    std::string longer(pattern);
    longer += 'x';
    expect(!platform::wildcardMatch(pattern, longer), "a plain pattern matches a longer name");
}

}  // namespace

int commandLine(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    if (data[0] % 2 == 0) {
        parse(std::string(text));
    } else {
        const std::size_t nul = text.find('\0');
        match(text.substr(0, nul), nul == std::string_view::npos ? std::string_view() : text.substr(nul + 1));
    }
    return 0;
}

}  // namespace quillon::fuzz
