#include "run/convert/output_names.h"

#include <cstdio>

#include "platform/paths.h"
#include "run/request/output_format.h"

namespace quillon {

std::string textOutputName(const std::string& output, TextFile file) {
    const std::size_t dot = output.rfind('.');
    const std::size_t slash = platform::lastPathSeparator(output);
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    const char* extension = file == TextFile::Plain ? ".txt" : file == TextFile::Hocr ? ".hocr" : ".alto.xml";
    return (hasExtension ? output.substr(0, dot) : output) + extension;
}

std::string pageFileName(const std::string& outputPath, unsigned pageNumber, const char* extension) {
    // Only a '.' in the file name starts an extension, not one in a folder name.
    const std::size_t dot = outputPath.find_last_of('.');
    const std::size_t slash = platform::lastPathSeparator(outputPath);
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    char number[16];
    std::snprintf(number, sizeof number, "%03u", pageNumber);
    return (hasExtension ? outputPath.substr(0, dot) : outputPath) + number + extension;
}

std::vector<std::string> outputNames(const BatchJob& job, int pages, const std::string& destination) {
    if (!job.convertOptions.splitPages() || pages <= 1) return {destination};
    std::vector<std::string> names;
    for (int page = 1; page <= pages; ++page)
        names.push_back(pageFileName(destination, page, outputExtension(job.outputFormat)));
    return names;
}

std::vector<std::string> filesWritten(const BatchJob& job, const std::vector<std::string>& outputs) {
    std::vector<std::string> files = outputs;
    for (const TextFile text : job.recognition.textFiles)
        for (const std::string& output : outputs) files.push_back(textOutputName(output, text));
    return files;
}

}  // namespace quillon
