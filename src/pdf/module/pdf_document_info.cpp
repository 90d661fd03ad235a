#include "pdf/pdf_document_info.h"

#include <exception>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

namespace quillon {

std::optional<std::string> readPdfInfoText(const std::string& path, const std::string& key) {
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.setAttemptRecovery(false);  // a damaged file is no complete output
        pdf.processFile(path.c_str());
        QPDFObjectHandle info = pdf.getTrailer().getKey("/Info");
        if (!info.isDictionary()) return std::nullopt;
        QPDFObjectHandle value = info.getKey(key);
        if (!value.isString()) return std::nullopt;
        return value.getStringValue();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace quillon
