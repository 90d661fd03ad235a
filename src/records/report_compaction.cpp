#include "records/report_compaction.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/atomic_file.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/stable_storage.h"

namespace quillon {

namespace {

constexpr std::size_t kChunk = 1 << 16;

// Calls take(line, whole) for each line of the report's first `end` bytes,
// without its line end; whole is false for a last line without one.
template <class Take>
bool forEachLine(const platform::SharedFile& report, std::int64_t end, Take&& take) {
    std::vector<char> chunk(kChunk);
    std::string pending;  // the start of a line that goes on in the next chunk
    for (std::int64_t offset = 0; offset < end;) {
        const std::int64_t got =
            report.readAt(offset, chunk.data(), std::size_t(std::min<std::int64_t>(kChunk, end - offset)));
        if (got <= 0) return false;
        offset += got;
        std::string_view text(chunk.data(), std::size_t(got));
        for (std::size_t newline; (newline = text.find('\n')) != std::string_view::npos;
             text.remove_prefix(newline + 1)) {
            if (pending.empty()) {
                take(text.substr(0, newline), true);
            } else {
                pending.append(text.substr(0, newline));
                take(std::string_view(pending), true);
                pending.clear();
            }
        }
        pending.append(text);
    }
    if (!pending.empty()) take(std::string_view(pending), false);
    return true;
}

// One report line as compaction keeps it: a 64-bit hash of its source (two
// sources of a million share one with odds of 1 in 30 million) and its
// number, whose top bits tell a skip and a line that lists outputs.
struct LineKey {
    std::uint32_t high, low, line;
    std::uint64_t key() const { return std::uint64_t(high) << 32 | low; }
};
constexpr std::uint32_t kSkipped = 1u << 31;
constexpr std::uint32_t kListsOutputs = 1u << 30;
constexpr std::uint32_t kNumber = kListsOutputs - 1;

// Which lines give way to a later line of their source; listing, when
// given, marks the kept lines that list outputs.
std::vector<bool> replacedLines(std::deque<LineKey>& keys, std::uint32_t lines, std::size_t& replaced,
                                std::vector<bool>* listing) {
    std::sort(keys.begin(), keys.end(), [](const LineKey& a, const LineKey& b) {
        return a.key() != b.key() ? a.key() < b.key() : (a.line & kNumber) < (b.line & kNumber);
    });
    std::vector<bool> dropped(lines);
    replaced = 0;
    for (auto group = keys.begin(); group != keys.end();) {
        const auto end = std::find_if(group, keys.end(), [&](const LineKey& k) { return k.key() != group->key(); });
        // The last line that says more than a skip, else the last skip.
        auto kept = std::prev(end);
        for (auto it = end; it != group;)
            if (!((--it)->line & kSkipped)) {
                kept = it;
                break;
            }
        for (auto it = group; it != end; ++it)
            if (it != kept) {
                dropped[it->line & kNumber] = true;
                ++replaced;
            }
        if (listing && (kept->line & kListsOutputs) && !(kept->line & kSkipped)) (*listing)[kept->line & kNumber] = true;
        group = end;
    }
    return dropped;
}

bool rewrite(platform::SharedFile& report, std::int64_t end, const std::vector<bool>& dropped, bool syncToDisk) {
    platform::AtomicFile file(report.path());
    std::FILE* out = file.path().empty() ? nullptr : platform::openFile(file.path(), "r+b");
    if (!out) return false;
    std::uint32_t number = 0;
    bool written = true;
    written = forEachLine(report, end, [&](std::string_view line, bool whole) {
        if (!whole || dropped[number++]) return;
        written = written && std::fwrite(line.data(), 1, line.size(), out) == line.size() && std::fputc('\n', out) != EOF;
    }) && written;
    if (syncToDisk) written = written && platform::syncStream(out);
    written = std::fclose(out) == 0 && written;
    return written && report.replaceWith(file.path()) &&
           (!syncToDisk || platform::syncFolder(platform::folderPart(report.path())));
}

// What compaction needs of a line, read without building it: the source,
// the status and whether outputs are listed, all at the top level of one
// JSON object.
struct TopLevelFields : nlohmann::json_sax<nlohmann::json> {
    std::string source, status, firstOutput;
    bool hasSource = false;
    std::size_t outputs = 0;

    bool null() override { return value(); }
    bool boolean(bool) override { return value(); }
    bool number_integer(number_integer_t) override { return value(); }
    bool number_unsigned(number_unsigned_t) override { return value(); }
    bool number_float(number_float_t, const string_t&) override { return value(); }
    bool binary(binary_t&) override { return value(); }
    bool string(string_t& text) override {
        if (depth == 1 && topKey == "source") source = std::move(text), hasSource = true;
        else if (depth == 1 && topKey == "status") status = std::move(text);
        else if (depth == 2 && topKey == "outputs" && outputs++ == 0) firstOutput = std::move(text);
        return value();
    }
    bool start_object(std::size_t) override { return open(); }
    bool end_object() override { return close(); }
    bool start_array(std::size_t) override { return open(); }
    bool end_array() override { return close(); }
    bool key(string_t& name) override {
        if (depth == 1) topKey = std::move(name);
        return true;
    }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override { return false; }

private:
    bool value() { return depth > 0 || (topLevelValue = true, false); }  // a line that is no object
    bool open() {
        if (depth == 0 && topLevelValue) return false;
        ++depth;
        return true;
    }
    bool close() {
        if (--depth == 1) topKey.clear();
        return true;
    }
    std::size_t depth = 0;
    bool topLevelValue = false;
    std::string topKey;  // the top-level key whose value is being read
};

}  // namespace

std::optional<ReportLineSource> reportLineSource(std::string_view line) {
    TopLevelFields fields;
    if (!nlohmann::json::sax_parse(line.begin(), line.end(), &fields) || !fields.hasSource) return std::nullopt;
    return ReportLineSource{std::move(fields.source), fields.status == "skipped", fields.outputs > 0,
                            std::move(fields.firstOutput)};
}

std::uint64_t sourceKey(std::string_view source) { return std::hash<std::string_view>{}(source); }

std::uint64_t outputsKey(std::string_view source, std::string_view firstOutput) {
    return sourceKey(source) ^ (std::hash<std::string_view>{}(firstOutput) * 0x9E3779B97F4A7C15u);
}

namespace {

// The keys of the marked lines, read again: compaction keeps no names.
bool recordOutputs(platform::SharedFile& report, std::int64_t end, const std::vector<bool>& listing,
                   std::vector<std::uint64_t>& recorded) {
    std::uint32_t number = 0;
    const bool read = forEachLine(report, end, [&](std::string_view line, bool whole) {
        if (!whole || !listing[number++]) return;
        if (const auto source = reportLineSource(line)) recorded.push_back(outputsKey(source->source, source->firstOutput));
    });
    std::sort(recorded.begin(), recorded.end());
    return read;
}

}  // namespace

Compaction compactReport(platform::SharedFile& report, bool syncToDisk, std::vector<std::uint64_t>* recorded) {
    const std::int64_t end = report.size();
    if (end < 0) return Compaction::Failed;
    std::deque<LineKey> keys;  // no doubling on growth, unlike a vector
    std::uint32_t lines = 0;
    bool torn = false;
    const bool read = forEachLine(report, end, [&](std::string_view line, bool whole) {
        if (!whole) {
            torn = true;
            return;
        }
        const std::uint32_t number = lines++;
        const auto source = reportLineSource(line);
        if (!source || number > kNumber) return;
        const std::uint64_t key = sourceKey(source->source);
        keys.push_back({std::uint32_t(key >> 32), std::uint32_t(key),
                        number | (source->skipped ? kSkipped : 0) | (source->listsOutputs ? kListsOutputs : 0)});
    });
    if (!read) return Compaction::Failed;
    std::size_t replaced = 0;
    std::vector<bool> listing;
    if (recorded) {
        recorded->clear();
        listing.resize(lines);
    }
    const std::vector<bool> dropped = replacedLines(keys, lines, replaced, recorded ? &listing : nullptr);
    keys.clear();
    if (recorded && !recordOutputs(report, end, listing, *recorded)) return Compaction::Failed;
    if (replaced == 0 && !torn) return Compaction::Unchanged;
    return rewrite(report, end, dropped, syncToDisk) ? Compaction::Rewritten : Compaction::Failed;
}

bool cutTornLine(platform::SharedFile& report) {
    const std::int64_t size = report.size();
    if (size < 0) return false;
    char chunk[4096];
    for (std::int64_t end = size; end > 0;) {
        const std::int64_t start = std::max<std::int64_t>(0, end - std::int64_t(sizeof chunk));
        const std::int64_t got = report.readAt(start, chunk, std::size_t(end - start));
        if (got != end - start) return false;
        const std::string_view text(chunk, std::size_t(got));
        const std::size_t newline = text.rfind('\n');
        if (end == size && newline == text.size() - 1) return true;  // ends whole
        if (newline != std::string_view::npos) return report.truncate(start + std::int64_t(newline) + 1);
        end = start;
    }
    return size == 0 || report.truncate(0);
}

}  // namespace quillon
