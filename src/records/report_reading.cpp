#include "records/report_reading.h"

#include <map>

#include <nlohmann/json.hpp>

#include "run/request/output_format.h"

namespace quillon {

namespace {

using Json = nlohmann::json;

OutputKind kindOf(const std::string& path) {
    if (namesTiff(path)) return OutputKind::Tiff;
    if (namesPdf(path)) return OutputKind::Pdf;
    return OutputKind::Other;
}

bool isHexDigest(const Json& value) {
    if (!value.is_string()) return false;
    const std::string& text = value.get_ref<const std::string&>();
    return text.size() == 64 && text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

std::uint32_t count(const Json& value) {
    return value.is_number_unsigned() && value.get<std::uint64_t>() <= 0xFFFFFFFFu ? value.get<std::uint32_t>() : 0;
}

// The file of one report line; its problem says what it lacks.
RecordedFile recordedFile(const Json& line) {
    RecordedFile file;
    if (!line.is_object() || !line.contains("source") || !line["source"].is_string()) {
        file.problem = "is no report line";
        return file;
    }
    file.source = line["source"];
    const Json& outputs = line.value("outputs", Json::array());
    const Json& sums = line.value("outputSha256", Json::array());
    if (!outputs.is_array() || outputs.empty()) return file;
    if (!sums.is_array() || sums.size() != outputs.size() || !isHexDigest(line.value("sourceSha256", Json()))) {
        file.problem = "holds no checksums (a report of an earlier version)";
        return file;
    }
    file.sourceSha256 = line["sourceSha256"];
    std::vector<RecordedPage> written;
    const Json& pages = line.value("pages", Json::array());
    for (const Json& page : pages.is_array() ? pages : Json::array()) {
        if (!page.is_object() || !page.contains("sha256")) continue;  // a page left out
        if (!isHexDigest(page["sha256"])) {
            file.problem = "holds a page fingerprint that is no SHA-256";
            return file;
        }
        written.push_back({count(page.value("index", Json())), count(page.value("width", Json())),
                           count(page.value("rows", Json())), page["sha256"]});
    }
    std::size_t images = 0;
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        if (!outputs[i].is_string() || !isHexDigest(sums[i])) {
            file.problem = "holds an output without its checksum";
            return file;
        }
        RecordedOutput& output = file.outputs.emplace_back();
        output.path = outputs[i];
        output.sha256 = sums[i];
        output.kind = kindOf(output.path);
        if (output.kind != OutputKind::Other) ++images;
    }
    // One image file holds every page; several hold one page each, in order.
    if (images != 1 && images != written.size()) {
        file.problem = "lists " + std::to_string(images) + " image files for " + std::to_string(written.size()) +
                       " pages";
        return file;
    }
    std::size_t next = 0;
    for (RecordedOutput& output : file.outputs) {
        if (output.kind == OutputKind::Other) continue;
        if (images == 1) output.pages = written;
        else output.pages.push_back(written[next++]);
    }
    return file;
}

}  // namespace

std::vector<RecordedFile> readRecordedFiles(std::istream& report) {
    std::vector<RecordedFile> files;
    std::map<std::string, std::size_t> lastLineOf;  // source and outputs: index in files
    std::string text;
    for (std::size_t number = 1; std::getline(report, text); ++number) {
        if (text.find_first_not_of(" \t\r") == std::string::npos) continue;
        RecordedFile file = recordedFile(Json::parse(text, nullptr, false));
        file.line = number;
        if (file.problem.empty() && file.outputs.empty()) continue;
        if (file.source.empty()) {
            files.push_back(std::move(file));
            continue;
        }
        std::string key = file.source;
        for (const RecordedOutput& output : file.outputs) key += '\n' + output.path;
        if (const auto earlier = lastLineOf.find(key); earlier != lastLineOf.end())
            files[earlier->second].line = 0;  // replaced by this line
        lastLineOf[key] = files.size();
        files.push_back(std::move(file));
    }
    std::erase_if(files, [](const RecordedFile& file) { return file.line == 0; });
    return files;
}

}  // namespace quillon
