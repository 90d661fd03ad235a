#include "pdf/pdf_page_images.h"

#include <exception>
#include <map>

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

namespace quillon {

namespace {

using Object = QPDFObjectHandle;

// A name, or the only name of a one-element array (both are valid /Filter values).
std::string onlyName(Object value) {
    if (value.isArray() && value.getArrayNItems() == 1) value = value.getArrayItem(0);
    return value.isName() ? value.getName() : std::string();
}

Object onlyDictionary(Object value) {
    if (value.isArray() && value.getArrayNItems() == 1) value = value.getArrayItem(0);
    return value.isDictionary() ? value : Object::newDictionary();
}

std::uint32_t dimension(Object value) {
    if (!value.isInteger()) return 0;
    const long long number = value.getIntValue();
    return number > 0 && number <= 0xFFFFFFFFll ? std::uint32_t(number) : 0;
}

PdfPageImage pageImage(QPDFPageObjectHelper page) {
    PdfPageImage image;
    const std::map<std::string, Object> images = page.getImages();
    if (images.size() != 1) {
        image.problem = images.empty() ? "it shows no image" : "it shows several images";
        return image;
    }
    Object stream = images.begin()->second;
    Object dictionary = stream.getDict();
    image.width = dimension(dictionary.getKey("/Width"));
    image.rows = dimension(dictionary.getKey("/Height"));
    Object parameters = onlyDictionary(dictionary.getKey("/DecodeParms"));
    Object k = parameters.getKey("/K");
    if (onlyName(dictionary.getKey("/Filter")) != "/CCITTFaxDecode" || !k.isInteger() || k.getIntValue() >= 0) {
        image.problem = "its image is not coded in Group 4";
        return image;
    }
    Object blackIs1 = parameters.getKey("/BlackIs1");
    image.blackIs1 = blackIs1.isBool() && blackIs1.getBoolValue();
    const std::shared_ptr<Buffer> data = stream.getRawStreamData();
    image.data.assign(data->getBuffer(), data->getBuffer() + data->getSize());
    return image;
}

}  // namespace

bool readPdfPageImages(const std::string& path, std::vector<PdfPageImage>& pages, std::string& why) {
    pages.clear();
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processFile(path.c_str());
        for (QPDFPageObjectHelper page : QPDFPageDocumentHelper(pdf).getAllPages()) {
            try {
                pages.push_back(pageImage(page));
            } catch (const std::exception&) {
                pages.emplace_back().problem = "its image cannot be read";
            }
        }
        return true;
    } catch (const std::exception&) {
        why = "it cannot be read as PDF";
        return false;
    }
}

}  // namespace quillon
