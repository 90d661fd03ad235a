#pragma once
// One file's place among the outputs of its run (see RunOutputs): taken when
// the file's conversion starts, left with what it wrote however it ends.

#include <optional>
#include <string>
#include <vector>

#include "app/batch_job.h"

namespace quillon {

class RunTicket {
public:
    RunTicket(BatchJob& job, const std::string& source, const std::vector<std::string>& written)
        : outputs_(*job.runOutputs), ticket_(job.runTicket ? *job.runTicket : outputs_.enter()), source_(source),
          written_(written) {}
    ~RunTicket() { outputs_.leave(ticket_, written_, source_); }
    RunTicket(const RunTicket&) = delete;
    RunTicket& operator=(const RunTicket&) = delete;

    // The results line of a file whose output an earlier file of the run
    // wrote; empty when none did, and the names are then the file's.
    std::string claim(const std::vector<std::string>& names) {
        const std::optional<EarlierOutput> earlier = outputs_.claim(ticket_, names);
        if (!earlier) return {};
        return "Failed : " + source_ + " - " + earlier->path + " was already written from " + earlier->source +
               " in this run; keep sub-folders or extensions in the output names (/kh, /ke, or Keep "
               "Hiberarchy and Include Source File Extention in the window)\r\n";
    }

private:
    RunOutputs& outputs_;
    std::size_t ticket_;
    const std::string& source_;
    const std::vector<std::string>& written_;
};

}  // namespace quillon
