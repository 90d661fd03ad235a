// Decodes the eight ITU pages of the corpus with this codec and with
// libtiff's, as T.6 (as stored) and as T.4 one-dimensional (re-coded by
// libtiff in the setup), and prints rows per second and the speed ratio.

#include <benchmark/benchmark.h>
#include <tiffio.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "codec/fax_decoder.h"

namespace {

namespace fs = std::filesystem;

struct Page {
    fs::path file;  // a single-strip TIFF that libtiff decodes
    std::vector<std::uint8_t> coded;
    std::uint32_t width = 0;
    std::uint32_t rows = 0;
    std::uint8_t fillOrder = 1;
};

struct Pages {
    std::vector<Page> t6;
    std::vector<Page> t4;
    fs::path folder;
    ~Pages() {
        std::error_code ignored;
        if (!folder.empty()) fs::remove_all(folder, ignored);
    }
};

Page readPage(const fs::path& file) {
    Page page;
    page.file = file;
    TIFF* tif = TIFFOpen(file.c_str(), "r");
    if (!tif) return page;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &page.width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &page.rows);
    std::uint16_t fillOrder = FILLORDER_MSB2LSB;
    TIFFGetFieldDefaulted(tif, TIFFTAG_FILLORDER, &fillOrder);
    page.fillOrder = fillOrder == FILLORDER_MSB2LSB ? 1 : 2;
    page.coded.resize(std::size_t(TIFFRawStripSize(tif, 0)));
    TIFFReadRawStrip(tif, 0, page.coded.data(), tmsize_t(page.coded.size()));
    TIFFClose(tif);
    return page;
}

// Re-codes a page as T.4 one-dimensional (Compression 3, T4Options 0) in one strip.
fs::path recodeT4(const Page& source, const fs::path& target) {
    TIFF* in = TIFFOpen(source.file.c_str(), "r");
    TIFF* out = TIFFOpen(target.c_str(), "w");
    if (!in || !out) {
        if (in) TIFFClose(in);
        if (out) TIFFClose(out);
        return {};
    }
    std::vector<std::uint8_t> pixels(std::size_t(TIFFStripSize(in)));
    TIFFReadEncodedStrip(in, 0, pixels.data(), tmsize_t(pixels.size()));
    TIFFSetField(out, TIFFTAG_IMAGEWIDTH, source.width);
    TIFFSetField(out, TIFFTAG_IMAGELENGTH, source.rows);
    TIFFSetField(out, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(out, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(out, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    TIFFSetField(out, TIFFTAG_FILLORDER, FILLORDER_LSB2MSB);
    TIFFSetField(out, TIFFTAG_ROWSPERSTRIP, source.rows);
    TIFFSetField(out, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX3);
    TIFFSetField(out, TIFFTAG_GROUP3OPTIONS, 0);
    TIFFWriteEncodedStrip(out, 0, pixels.data(), tmsize_t(pixels.size()));
    TIFFClose(out);
    TIFFClose(in);
    return target;
}

const Pages& pages() {
    static Pages all = [] {
        Pages p;
        std::mt19937_64 random(std::random_device{}());
        p.folder = fs::temp_directory_path() / ("quillon-codec-bench-" + std::to_string(random()));
        fs::create_directories(p.folder);
        for (int i = 1; i <= 8; ++i) {
            const fs::path itu = fs::path(QUILLON_BENCH_CORPUS) / ("CCITT_" + std::to_string(i) + ".TIF");
            if (!fs::exists(itu)) continue;
            p.t6.push_back(readPage(itu));
            const fs::path t4 = recodeT4(p.t6.back(), p.folder / ("t4_" + std::to_string(i) + ".tif"));
            if (!t4.empty()) p.t4.push_back(readPage(t4));
        }
        return p;
    }();
    return all;
}

std::int64_t decodeWithCodec(const Page& page, bool t6, quillon::FaxImage& image) {
    quillon::FaxDecoder decoder;
    const auto length = std::int32_t(page.coded.size());
    if (t6) {
        decoder.initDecoderT6(page.coded.data(), length, page.fillOrder, 0, 1, 0);
        decoder.setRawStart(true);
        decoder.setGeometry(std::int32_t(page.width), std::int32_t(page.rows));
        decoder.findT6Start(quillon::T6Search::FromFirstByte);
        decoder.decodePageT6(image);
    } else {
        decoder.initDecoder(page.coded.data(), length, page.fillOrder, quillon::ImageCoding::T4OneDimensional, 1);
        decoder.setGeometry(std::int32_t(page.width), std::int32_t(page.rows));
        decoder.decodePage(image);
    }
    return image.rows;
}

void codecDecode(benchmark::State& state, bool t6) {
    const auto& set = t6 ? pages().t6 : pages().t4;
    if (set.empty()) {
        state.SkipWithError("corpus not found");
        return;
    }
    quillon::FaxImage image;
    std::int64_t rows = 0;
    for (auto _ : state) {
        for (const Page& page : set) rows += decodeWithCodec(page, t6, image);
        benchmark::DoNotOptimize(image.bitmap.data());
    }
    state.SetItemsProcessed(rows);
}

void libtiffDecode(benchmark::State& state, bool t6) {
    const auto& set = t6 ? pages().t6 : pages().t4;
    if (set.empty()) {
        state.SkipWithError("corpus not found");
        return;
    }
    std::vector<TIFF*> files;
    for (const Page& page : set) files.push_back(TIFFOpen(page.file.c_str(), "r"));
    std::vector<std::uint8_t> pixels;
    std::int64_t rows = 0;
    for (auto _ : state) {
        for (std::size_t i = 0; i < files.size(); ++i) {
            pixels.resize(std::size_t(TIFFStripSize(files[i])));
            if (TIFFReadEncodedStrip(files[i], 0, pixels.data(), tmsize_t(pixels.size())) > 0) rows += set[i].rows;
            benchmark::DoNotOptimize(pixels.data());
        }
    }
    for (TIFF* tif : files) TIFFClose(tif);
    state.SetItemsProcessed(rows);
}

BENCHMARK_CAPTURE(codecDecode, T6, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(libtiffDecode, T6, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(codecDecode, T4_1D, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(libtiffDecode, T4_1D, false)->Unit(benchmark::kMillisecond);

// Prints the console table and keeps each benchmark's rows per second.
class RateReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> rowsPerSecond;
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const auto it = run.counters.find("items_per_second");
            if (it != run.counters.end()) rowsPerSecond[run.benchmark_name()] = it->second;
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RateReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n%-8s %16s %16s %8s\n", "coding", "codec rows/s", "libtiff rows/s", "ratio");
    for (const char* coding : {"T6", "T4_1D"}) {
        const double codec = reporter.rowsPerSecond["codecDecode/" + std::string(coding)];
        const double libtiff = reporter.rowsPerSecond["libtiffDecode/" + std::string(coding)];
        if (codec > 0 && libtiff > 0) std::printf("%-8s %16.0f %16.0f %7.2fx\n", coding, codec, libtiff, codec / libtiff);
    }
    benchmark::Shutdown();
    return 0;
}
