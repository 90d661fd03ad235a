#include "cli/command_line.h"

#include <strings.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <ostream>
#include <sstream>
#include <string_view>

#include "ocr/languages.h"

namespace quillon {

namespace {

bool isWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && strncasecmp(text.data(), prefix.data(), prefix.size()) == 0;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

// Options whose value may be given in double quotes.
constexpr std::array<std::string_view, 7> kQuotablePrefixes{"/d=", "/sd=", "/f=", "/sf=", "/log=", "/report=",
                                                            "/verify="};

std::string_view quotablePrefixOf(std::string_view word) {
    for (std::string_view prefix : kQuotablePrefixes)
        if (startsWithNoCase(word, prefix)) return prefix;
    return {};
}

// A value as given after its option: without its quotes when it starts with one.
// An unclosed quote quotes the rest of the word.
std::string unquote(std::string_view value) {
    if (value.empty() || value.front() != '"') return std::string(value);
    const std::size_t close = value.find('"', 1);
    return std::string(value.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
}

// "/j=N": N files at once, 1 to kMaxWorkers.
bool parseWorkers(std::string_view value, unsigned& workers) {
    unsigned n = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), n);
    if (error != std::errc() || end != value.data() + value.size() || n < 1 || n > kMaxWorkers) return false;
    workers = n;
    return true;
}

}  // namespace

void writeUsage(std::ostream& out) {
    out << "Usage: quillon [/q /l] [/b=0 /v=0] /f=source-file /sf=dest-tif-file\n";
    out << "or\n";
    out << "Usage: quillon [/q /l] [/b=0 /v=0] /d=source-folder /sd=dest-folder [/filter=]\n";
    out.flush();
}

void writeHelp(std::ostream& out) {
    writeUsage(out);
    out << R"(       quillon [FILE... | FOLDER]   opens the window with these faxes

Converts WinFax faxes (.fxd .fxm .fxr .fxs) to TIFF with Group 4 compression,
or to PDF; with /formats= also TIFF, DCX, raw Group 3, Digifax, CALS and BMP
faxes.
Without a complete command line the window opens.

Options (names in any case; of two contradicting options the later wins):
  /f=FILE          the WinFax file to convert
  /sf=FILE         the TIFF file to write (file conversion)
  /d=FOLDER        the folder to convert
  /sd=FOLDER       the folder for the TIFF files (folder conversion)
  /filter=PATTERN  only names matching PATTERN (* and ?); default *.*
  /i               include sub-folders
  /formats=LIST    the formats to convert: all, or names joined by commas from
                   winfax (.fxd ...), tiff (bilevel pages), dcx, g3 (raw Group
                   3: .g3n, .g3f without a header), digifax (.g3f), cals and
                   bmp (one bit per pixel); default winfax. all also names the
                   fax formats that are not read (AWD, APF, ...) as not
                   supported. Greyscale and colour images fail, never
                   thresholded
  /kh              keep the sub-folder hierarchy under the destination
  /ke              keep the source extension: a.fxd becomes a.fxd.tif
  /l               give each output the source file's date and time
  /m=1, /m=0       one TIFF file per page (a001.tif, ...); all pages in one
  /relines         count the scan lines of every page by decoding it
  /q               quiet: do not print the results
  /log=PATH        write the log entry to PATH instead of the default log
  /report=FILE     append one JSON line per source file to FILE; runs at
                   once may share it (each holds a lock while it writes), and
                   it keeps one line per source, that of its last outcome
  /j=N             convert N files at once (1 to 64); default one per core
  /pdf             write PDF files (a.pdf, a001.pdf, ...) with the same Group 4
                   pages instead of TIFF files; also when /sf= ends in .pdf
                   (a /sf= name ending in .tif or .tiff then ends in .pdf)
  /ocr             recognise the text of every page (Tesseract) and lay it
                   invisibly over the page in the PDF, so that the PDF can be
                   searched; implies /pdf. The pages stay exactly as they are
  /lang=LANGS      the languages of /ocr, joined by + (default eng), such as
                   eng+deu; each needs its package tesseract-ocr-LANG
  /ocrtext         /ocr, and the text of each PDF also as a UTF-8 .txt file
                   beside it, pages separated by form feeds
  /ocrtext=LIST    /ocr, and the text of each PDF beside it in the forms
                   listed, joined by commas: txt (as /ocrtext), hocr
                   (NAME.hocr) and alto (NAME.alto.xml, ALTO 4): the PDF's
                   own words with their boxes in page pixels and confidences
  /norotate        with /ocr, read every page as it was faxed; by default a
                   page fed sideways or upside down is read the right way up
                   and shown so (its image data stay as they are)
  /shard=K/N       convert only the files of part K of N (1 <= K <= N) of a
                   folder run, chosen by a hash of each file's path below the
                   source folder: N runs with K = 1..N convert each file once
  /resume          convert only what is not done yet: skip a fax whose outputs
                   an earlier run with /resume completed from the same source
                   bytes with the same settings (format, /m=, /ocr and /lang=,
                   /ocrtext, /norotate, /relines, /v=); the outputs carry that
                   record
  /nosync          do not wait for outputs, report and log to reach the disk
                   (for scratch runs: a power cut may then lose what exit 0
                   promised); by default every output is synced before it
                   is renamed into place, and its folder, the report and
                   the log before the run ends
  /nolock          write the report and the log without file locks, for file
                   systems that refuse them; only one run may then write them
                   at a time. By default any number of runs may share them
  /verify=REPORT   check the outputs listed in a report of earlier runs:
                   each must exist, hash to its checksum and hold pages that
                   decode to their fingerprints; one line per file, exit 0
                   only when all verified (/j=, /shard=, /q and /report= work)
  /verifysources   with /verify=, check the sources' checksums too
  /v=0..4          raw Group 3 pages have 100 to 400 lines per inch (/v=1 to
                   /v=4); /v=0 (default): 196 when a page holds 1500 lines
                   or more, else 98
  /raw, /b=0..2    recorded for other fax formats; no reader uses them
  --help, -h       this text
  --version        the version

Exit status:
  0  every file was converted or skipped
  1  a file failed (it is no fax, is damaged beyond use, ...); with /verify=,
     a file did not verify
  2  no conversion described and no window can be opened (no display), or
     a /j=, /shard=, /lang= or /ocrtext= value refused or a /lang= language
     not installed, or /log= or /report= naming a source of the run, or a
     /verify= report that cannot be read
  3  the run could not do its work: an output or its folder could not be
     written (no permission, disk full), a source folder could not be read,
     the report could not be written or locked, an output, its folder, the
     report or the log could not be synced to disk, or no private temporary
     folder could be made; running it again may succeed

Files:
  home folder  $QUILLON_HOME, else ${XDG_DATA_HOME:-~/.local/share}/quillon
  settings     quillon.ini in the home folder
  log          log/kfqlog.txt in the home folder, or the /log= path
  temporary    a private folder under $TMPDIR (or /tmp), removed at the end

The manual: man quillon, or the window's Help button.
)";
    out.flush();
}

namespace {

// Applies one word; returns false when the word is not an option. A value
// that must not be ignored (a run would do other work than asked) and
// cannot be carried out sets refused and is explained on err.
// Each group of words below answers for the words it knows: whether the
// word is one the program takes (nothing for a word of another group).
using Applied = std::optional<bool>;

// The switches: words that stand alone.
Applied applySwitch(std::string_view word, BatchJob& job) {
    struct Flag {
        std::string_view name;
        bool BatchJob::*field;
    };
    static constexpr Flag kFlags[] = {{"/l", &BatchJob::keepDate},          {"/q", &BatchJob::quiet},
                                      {"/ke", &BatchJob::keepExtension},    {"/i", &BatchJob::includeSubFolders},
                                      {"/kh", &BatchJob::keepHierarchy},    {"/resume", &BatchJob::resume},
                                      {"/verifysources", &BatchJob::verifySources}, {"/nosync", &BatchJob::skipSync},
                                      {"/nolock", &BatchJob::singleRun}};
    for (const Flag& flag : kFlags) {
        if (equalsNoCase(word, flag.name)) {
            job.*flag.field = true;
            return true;
        }
    }
    ConvertOptions& options = job.convertOptions;
    if (equalsNoCase(word, "/pdf")) return job.outputFormat = OutputFormat::Pdf, true;
    if (equalsNoCase(word, "/ocr")) return job.recognition.enabled = true, true;
    if (equalsNoCase(word, "/ocrtext")) {
        job.recognition.textFiles = {TextFile::Plain};
        return job.recognition.enabled = true, true;
    }
    if (equalsNoCase(word, "/norotate")) return job.recognition.orientation = PageOrientation::AsFaxed, true;
    if (equalsNoCase(word, "/raw")) return options.rawStart = 1, true;
    if (equalsNoCase(word, "/relines")) return options.recountLines = 1, true;
    return std::nullopt;
}

// "/m=0".."/m=2", "/b=0".."/b=2", "/v=0".."/v=4": one digit, nothing after it.
Applied applyDigitOption(std::string_view word, ConvertOptions& options) {
    if (word.size() != 4 || word[0] != '/' || word[2] != '=' || word[3] < '0' || word[3] > '9') return std::nullopt;
    const int digit = word[3] - '0';
    switch (word[1] | 0x20) {
        case 'm':
            if (digit <= 2) options.pageMode = static_cast<std::uint8_t>(digit);
            return digit <= 2;
        case 'b':
            if (digit <= 2) options.bitOrder = static_cast<std::uint8_t>(digit);
            return digit <= 2;
        case 'v':
            if (digit <= 4) options.verticalResolution = static_cast<std::uint16_t>(digit * 100);
            return digit <= 4;
        default:
            return std::nullopt;  // "/d=1", "/f=2": a path
    }
}

// The paths and the filter, taken as they are given (but for their quotes).
Applied applyPath(std::string_view word, BatchJob& job) {
    if (startsWithNoCase(word, "/filter=")) return job.filter = std::string(word.substr(8)), true;
    if (startsWithNoCase(word, "/d=")) return job.source = unquote(word.substr(3)), true;
    if (startsWithNoCase(word, "/sd=")) {
        job.destination = unquote(word.substr(4));
        job.mode = JobMode::Folder;
        return true;
    }
    if (startsWithNoCase(word, "/f=")) return job.source = unquote(word.substr(3)), true;
    if (startsWithNoCase(word, "/sf=")) {
        job.destination = unquote(word.substr(4));
        job.mode = JobMode::File;
        return true;
    }
    if (startsWithNoCase(word, "/report=")) return job.reportPath = unquote(word.substr(8)), true;
    if (startsWithNoCase(word, "/verify=")) {
        job.verifyReport = unquote(word.substr(8));
        job.mode = JobMode::Verify;
        return true;
    }
    return std::nullopt;
}

// The values that are checked: a value the program cannot carry out is said
// on err and refuses the command line (but for /log=, whose default stays).
// "/ocrtext=LIST": each of txt, hocr and alto at most once, in any order.
bool parseTextFiles(std::string_view list, std::vector<TextFile>& files) {
    files.clear();
    while (true) {
        const std::size_t comma = list.find(',');
        const std::string_view name = list.substr(0, comma);
        TextFile file;
        if (equalsNoCase(name, "txt")) file = TextFile::Plain;
        else if (equalsNoCase(name, "hocr")) file = TextFile::Hocr;
        else if (equalsNoCase(name, "alto")) file = TextFile::Alto;
        else return false;
        if (std::find(files.begin(), files.end(), file) != files.end()) return false;
        files.push_back(file);
        if (comma == std::string_view::npos) return true;
        list.remove_prefix(comma + 1);
    }
}


Applied applyCheckedValue(std::string_view word, BatchJob& job, std::string& logPath, std::ostream& err,
                          bool& refused) {
    if (startsWithNoCase(word, "/lang=")) {
        job.recognition.languages = std::string(word.substr(6));
        if (!splitLanguages(job.recognition.languages)) {
            err << "quillon: /lang= takes language names such as eng or eng+deu (letters, digits, _), not '"
                << job.recognition.languages << "'\n";
            refused = true;
        }
        return true;
    }
    if (startsWithNoCase(word, "/ocrtext=")) {
        job.recognition.enabled = true;
        if (!parseTextFiles(word.substr(9), job.recognition.textFiles)) {
            err << "quillon: /ocrtext= takes txt, hocr and alto joined by commas, such as txt,alto, not '"
                << word.substr(9) << "'\n";
            refused = true;
        }
        return true;
    }
    if (startsWithNoCase(word, "/shard=")) {
        if (!parseShard(word.substr(7), job.shard)) {
            err << "quillon: /shard= takes K/N with 1 <= K <= N, such as /shard=3/8, not '" << word.substr(7) << "'\n";
            refused = true;
        }
        return true;
    }
    if (startsWithNoCase(word, "/formats=")) {
        if (const std::optional<InputFormats> formats = InputFormats::parse(word.substr(9))) {
            job.formats = *formats;
        } else {
            err << "quillon: /formats= takes all, or names joined by commas from winfax, tiff, dcx, g3, digifax, "
                   "cals and bmp, not '"
                << word.substr(9) << "'\n";
            refused = true;
        }
        return true;
    }
    if (startsWithNoCase(word, "/j=")) {
        if (!parseWorkers(word.substr(3), job.workers)) {
            err << "quillon: /j= takes a number of files from 1 to " << kMaxWorkers << ", not '" << word.substr(3)
                << "'\n";
            refused = true;
        }
        return true;
    }
    if (startsWithNoCase(word, "/log=")) {
        std::string path = unquote(word.substr(5));
        if (path.size() > kMaxLogPathLength) {
            err << "The log path given with /log= is longer than " << kMaxLogPathLength
                << " bytes; the default log is kept.\n";
        } else {
            logPath = std::move(path);
        }
        return true;
    }
    return std::nullopt;
}

bool applyWord(std::string_view word, BatchJob& job, std::string& logPath, std::ostream& err, bool& refused) {
    if (const Applied applied = applySwitch(word, job)) return *applied;
    if (const Applied applied = applyDigitOption(word, job.convertOptions)) return *applied;
    if (const Applied applied = applyPath(word, job)) return *applied;
    if (const Applied applied = applyCheckedValue(word, job, logPath, err, refused)) return *applied;
    return false;
}

}  // namespace

namespace {

// The words applied to a fresh job: what they ask for.
CommandLineRequest readWords(const std::optional<std::vector<std::string>>& words, BatchJob& job,
                             std::string& logPath, std::ostream& out, std::ostream& err) {
    if (!words) return CommandLineRequest::Absent;
    if (words->empty()) return CommandLineRequest::Empty;
    bool refused = false;
    for (const std::string& raw : *words) {
        std::string_view word = raw;
        while (!word.empty() && isWhiteSpace(word.front())) word.remove_prefix(1);
        if (!word.empty()) applyWord(word, job, logPath, err, refused);  // other words are ignored
    }
    if (refused) return CommandLineRequest::Refused;
    if (job.mode == JobMode::Verify && job.verifyReport.empty()) {
        err << "quillon: /verify= takes the report whose outputs are checked, such as /verify=run.jsonl\n";
        return CommandLineRequest::Refused;
    }
    if (job.mode == JobMode::Verify) return CommandLineRequest::Verify;
    if (job.recognition.enabled) job.outputFormat = OutputFormat::Pdf;
    if (job.mode == JobMode::None) {
        writeUsage(out);
        return CommandLineRequest::Incomplete;
    }
    if (job.mode == JobMode::File && namesPdf(job.destination)) job.outputFormat = OutputFormat::Pdf;
    if (job.mode == JobMode::File && job.outputFormat == OutputFormat::Pdf) job.destination = pdfFileName(job.destination);
    if (job.destination.empty()) {
        err << kSaveFolderCaption << ": " << kSaveFolderMessage << "\n";
        return CommandLineRequest::Incomplete;
    }
    return CommandLineRequest::Convert;
}

}  // namespace

ParsedCommandLine parseCommandLine(const std::optional<std::vector<std::string>>& words,
                                   const ConvertOptions& options, const std::string& defaultLog, std::ostream& out,
                                   std::ostream& err) {
    ParsedCommandLine parsed;
    parsed.job.convertOptions = options;
    parsed.job.convertOptions.rawStart = 0;
    parsed.job.convertOptions.recountLines = 0;
    parsed.logPath = defaultLog;
    parsed.request = readWords(words, parsed.job, parsed.logPath, out, err);
    return parsed;
}

std::vector<std::string> plainWords(const std::vector<std::string>& words) {
    std::vector<std::string> plain;
    BatchJob scratch;
    std::string scratchLog;
    std::ostringstream ignored;
    bool refused = false;
    for (const std::string& raw : words) {
        std::string_view word = raw;
        while (!word.empty() && isWhiteSpace(word.front())) word.remove_prefix(1);
        if (!word.empty() && !applyWord(word, scratch, scratchLog, ignored, refused)) plain.push_back(raw);
    }
    return plain;
}

std::vector<std::string> splitCommandLine(const std::string& text) {
    std::vector<std::string> words;
    std::string_view rest = text;
    while (!rest.empty() && isWhiteSpace(rest.back())) rest.remove_suffix(1);
    while (!rest.empty() && isWhiteSpace(rest.front())) rest.remove_prefix(1);
    while (!rest.empty()) {
        const std::size_t blank = rest.find(' ');
        std::string_view word = rest.substr(0, blank);
        const std::string_view prefix = quotablePrefixOf(word);
        std::size_t consumed = word.size();
        if (!prefix.empty() && word.size() > prefix.size() && word[prefix.size()] == '"') {
            const std::size_t open = prefix.size();
            const std::size_t close = rest.find('"', open + 1);
            if (close != std::string_view::npos) {
                words.push_back(std::string(word.substr(0, open)) + std::string(rest.substr(open + 1, close - open - 1)));
                consumed = close + 1;
            } else {
                words.push_back(std::string(word.substr(0, open)) + std::string(word.substr(open + 1)));
            }
        } else {
            words.emplace_back(word);
        }
        rest.remove_prefix(std::min(consumed, rest.size()));
        while (!rest.empty() && isWhiteSpace(rest.front())) rest.remove_prefix(1);
    }
    return words;
}

}  // namespace quillon
