// Files written whole or not at all, sources read whole at once, folders
// made with their parents, and spools read back as they were written.

#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>

#include "platform/folder_path.h"
#include "platform/private_temp_folder.h"
#include "platform/text_spool.h"
#include "platform/source_file.h"
#include "support/temp_dir.h"

namespace quillon {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

TEST(AtomicFile, OnlyACommitReplacesTheOutput) {
    TempDir dir;
    const std::string output = (dir / "a.tif").string();
    writeFile(output, "earlier good output");
    {
        platform::AtomicFile pending(output);
        ASSERT_FALSE(pending.path().empty());
        writeFile(pending.path(), "half");
    }
    EXPECT_EQ(readFile(output), "earlier good output");
    {
        platform::AtomicFile pending(output);
        writeFile(pending.path(), "complete");
        EXPECT_TRUE(pending.commit());
    }
    EXPECT_EQ(readFile(output), "complete");
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++files;
    EXPECT_EQ(files, 1u);
}

std::string allOf(const platform::SourceBytes& bytes) {
    std::string text(bytes.size(), '\0');
    text.resize(bytes.readAt(0, reinterpret_cast<std::uint8_t*>(text.data()), text.size()));
    return text;
}

// A file too large to hold is read once to its end, its bytes told in
// order, and then read where its reader asks through the handle kept open.
TEST(SourceFile, ReadsAFileTooLargeToHoldThroughItsHandle) {
    TempDir dir;
    std::string bytes(platform::SourceFile::kMostHeldBytes + 3 * 65536 + 7, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = char(i * 2654435761u >> 24);
    writeFile(dir / "big.fxd", bytes);
    std::string told;
    const platform::SourceFile file((dir / "big.fxd").string(), [&](std::span<const std::uint8_t> chunk) {
        told.append(chunk.begin(), chunk.end());
    });
    ASSERT_EQ(file.error(), "");
    EXPECT_EQ(told, bytes);
    const platform::SourceBytes contents = file.contents();
    EXPECT_FALSE(contents.held());
    EXPECT_EQ(allOf(contents), bytes);
    std::uint8_t tail[16];
    EXPECT_EQ(contents.readAt(bytes.size() - 5, tail, sizeof tail), 5u) << "fewer at the end";
    EXPECT_EQ(std::string(file.head().begin(), file.head().end()), bytes.substr(0, platform::SourceFile::kHeadBytes));
}

// A source is opened without waiting for a pipe's writer, and a regular
// file read whole through that one handle, to its end whatever size the
// system gives (0 for files of /proc).
TEST(SourceFile, ReadsRegularFilesWholeAndNothingElse) {
    TempDir dir;
    writeFile(dir / "a.fxd", "fax bytes");
    ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0600), 0);
    using platform::PathKind;
    const struct {
        std::string path;
        PathKind kind;
        std::optional<std::string> contents;
        std::string error;
    } rows[] = {
        {(dir / "a.fxd").string(), PathKind::File, "fax bytes", ""},
        {"/proc/self/cmdline", PathKind::File, readFile("/proc/self/cmdline"), ""},
        {(dir / "pipe").string(), PathKind::Other, std::nullopt, ""},
        {dir.str(), PathKind::Folder, std::nullopt, ""},
        {(dir / "missing").string(), PathKind::Missing, std::nullopt, "No such file or directory"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path);
        const platform::SourceFile file(row.path);
        EXPECT_EQ(file.kind(), row.kind);
        EXPECT_EQ(file.error(), row.error);
        EXPECT_EQ(bool(file.contents()), row.contents.has_value());
        if (row.contents) {
            EXPECT_EQ(allOf(file.contents()), *row.contents);
        }
        EXPECT_EQ(file.times().has_value(), row.kind != PathKind::Missing);
    }
    struct stat info {};
    ASSERT_EQ(stat((dir / "a.fxd").c_str(), &info), 0);
    const platform::SourceFile file((dir / "a.fxd").string());
    EXPECT_EQ(file.times()->modification, info.st_mtim.tv_sec * 1'000'000'000LL + info.st_mtim.tv_nsec);
}

TEST(MakeFolderPath, MakesMissingLevels) {
    TempDir dir;
    EXPECT_TRUE(platform::makeFolderPath((dir / "a/b/c").string()));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "a/b/c"));
    writeFile(dir / "file", "x");
    EXPECT_FALSE(platform::makeFolderPath((dir / "file/sub").string()));
}

// Reads between appends, and pieces longer than the spool's own: the
// bytes come back as written, wherever they are read from.
TEST(TextSpool, GivesBackEveryByteWrittenAndLeavesNoFile) {
    namespace fs = std::filesystem;
    const auto spoolFiles = [] {
        std::size_t files = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(platform::privateTempFolder())) ++files;
        return files;
    };
    const std::size_t before = spoolFiles();
    std::string written;
    {
        platform::TextSpool spool;
        EXPECT_EQ(spoolFiles(), before + 1) << "the bytes go to the private folder";
        for (int i = 0; i < 3000; ++i) {
            const std::string piece = "name " + std::to_string(i) + std::string(i % 7 == 0 ? 70000 : i % 50, 'x') +
                                      std::string("\r\n\0", 3);
            ASSERT_TRUE(spool.append(piece));
            written += piece;
            if (i % 97 == 0) {
                char bytes[16];
                const std::uint64_t at = written.size() / 3;
                ASSERT_EQ(spool.read(at, bytes, sizeof bytes), sizeof bytes);
                EXPECT_EQ(std::string(bytes, sizeof bytes), written.substr(at, sizeof bytes));
            }
        }
        EXPECT_EQ(spool.size(), written.size());
        char tail[64];
        EXPECT_EQ(spool.read(written.size() - 5, tail, sizeof tail), 5u);
        std::string copied;
        std::size_t pieces = 0;
        EXPECT_TRUE(spool.copyTo([&](std::string_view piece) {
            copied += piece;
            return ++pieces < 1000000;
        }));
        EXPECT_TRUE(copied == written);
        EXPECT_GT(pieces, 1u);
        EXPECT_FALSE(spool.copyTo([](std::string_view) { return false; })) << "a refused piece ends the copy";
        EXPECT_FALSE(spool.failed());
    }
    EXPECT_EQ(spoolFiles(), before);
}

}  // namespace
}  // namespace quillon
