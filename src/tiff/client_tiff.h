#pragma once
// TIFF files that libtiff reads and writes through calls of the program's
// own (its "client" open) instead of a file it opens: a source's bytes (held
// after their one read, or read through the source's handle), and an output
// that goes out in one pass, in order, into a ByteSink, so that its checksum
// is taken from its bytes as they go to the file.

#include <tiffio.h>

#include <cstdint>
#include <span>
#include <string>

#include "platform/byte_sink.h"
#include "platform/source_bytes.h"

namespace quillon {

// A TIFF file for reading: a source's bytes (held, or read through its
// handle), which the caller keeps alive (with this) while the TIFF handle is
// open, and where reading is.
struct TiffBytes {
    platform::SourceBytes bytes;
    std::uint64_t at = 0;
};

// Opens the bytes for reading, name standing for the file in libtiff's
// messages. Mode "r" lets libtiff read held bytes in place, as it reads a
// file it maps by its path; "rm" copies every read.
TIFF* openTiffBytes(TiffBytes& file, const std::string& name, const char* mode);

// A TIFF file written in one pass. libtiff seeks back only to link a new
// page's directory to the one before (or to the header), so the bytes before
// the last page's end are final once the next directory is written: those go
// out (settle), the rest waits in memory, about a page's worth. A write or
// read before what went out fails the file rather than make it wrong.
class StreamedTiff {
public:
    explicit StreamedTiff(ByteSink& sink) : sink_(sink) {}
    // Opens it for libtiff in mode ("w"); nullptr when libtiff refuses. It
    // must outlive the TIFF handle.
    TIFF* open(const char* mode);
    // Where the file ends now.
    std::uint64_t end() const { return base_ + tail_.size(); }
    // Sends the bytes before `upTo` out; false when the sink refuses them.
    bool settle(std::uint64_t upTo);
    // Sends the rest out, once libtiff has closed the file.
    bool finish() { return settle(end()); }

private:
    friend struct StreamedTiffCalls;
    ByteSink& sink_;
    std::string tail_;        // the bytes from base_ on
    std::uint64_t base_ = 0;  // what went out ends here
    std::uint64_t position_ = 0;
    bool failed_ = false;
};

}  // namespace quillon
