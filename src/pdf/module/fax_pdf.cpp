#include "pdf/fax_pdf.h"

#include <map>
#include <memory>
#include <stdexcept>
#include <vector>

#include <qpdf/Pipeline.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFWriter.hh>

#include "pdf/module/pdf_text.h"
#include "pdf/module/output_profile.h"
#include "pdf/module/text_layer.h"
#include "pdf/module/xmp_packet.h"

namespace quillon {
namespace {

using Object = QPDFObjectHandle;
constexpr double kPointsPerInch = 72.0;

// Hands each image its page's coded data when the writer asks for it, so
// that the PDF never holds more than one page's data.
class PageData final : public Object::StreamDataProvider {
public:
    explicit PageData(CodedPages& pages) : pages_(pages) {}
    const G4Page& page(std::size_t index) const { return pages_.pages()[index]; }
    void add(QPDFObjGen image, std::size_t page) { pageOf_[image] = page; }

    void provideStreamData(QPDFObjGen const& image, Pipeline* pipeline) override {
        const auto page = pageOf_.find(image);
        if (page == pageOf_.end() || !pages_.readCodedData(page->second, data_))
            throw std::runtime_error("a fax page cannot be read");
        pipeline->write(data_.data(), data_.size());
        pipeline->finish();
    }

private:
    CodedPages& pages_;
    std::map<QPDFObjGen, std::size_t> pageOf_;
    std::vector<std::uint8_t> data_;
};

Object imageDictionary(const G4Page& page) {
    Object image = Object::newDictionary();
    image.replaceKey("/Type", Object::newName("/XObject"));
    image.replaceKey("/Subtype", Object::newName("/Image"));
    image.replaceKey("/Width", Object::newInteger(page.width));
    image.replaceKey("/Height", Object::newInteger(page.rows));
    image.replaceKey("/ColorSpace", Object::newName("/DeviceGray"));
    image.replaceKey("/BitsPerComponent", Object::newInteger(1));
    return image;
}

Object decodeParameters(const G4Page& page) {
    Object parameters = Object::newDictionary();
    parameters.replaceKey("/K", Object::newInteger(-1));
    parameters.replaceKey("/Columns", Object::newInteger(page.width));
    parameters.replaceKey("/Rows", Object::newInteger(page.rows));
    // The pages are coded min-is-white: coded black is 0, black in DeviceGray.
    parameters.replaceKey("/BlackIs1", Object::newBool(false));
    return parameters;
}

// The content streams that draw a page's image, by their text: pages of one
// size share one, as every page names its image /Im0.
using ImageContents = std::map<std::string, Object>;

// A page of the image's physical size that the image fills, and the text
// recognised on it when there is any.
void addPage(QPDF& pdf, const std::shared_ptr<PageData>& coded, std::size_t index, ImageContents& imageContents,
             TextLayerWriter& textLayers, const RecognizedPage* text) {
    const G4Page& page = coded->page(index);
    Object image = pdf.newStream();
    image.replaceDict(imageDictionary(page));
    image.replaceStreamData(coded, Object::newName("/CCITTFaxDecode"), decodeParameters(page));
    coded->add(image.getObjGen(), index);

    Object width = Object::newReal(page.width / page.xDpi * kPointsPerInch, 4);
    Object height = Object::newReal(page.rows / page.yDpi * kPointsPerInch, 4);
    Object pageDictionary = Object::parse("<< /Type /Page /Resources << /XObject << >> >> >>");
    pageDictionary.replaceKey("/MediaBox", Object::newArray({Object::newInteger(0), Object::newInteger(0), width, height}));
    pageDictionary.getKey("/Resources").getKey("/XObject").replaceKey("/Im0", image);
    const std::string drawing = "q " + width.unparse() + " 0 0 " + height.unparse() + " 0 0 cm /Im0 Do Q";
    auto content = imageContents.find(drawing);
    if (content == imageContents.end()) content = imageContents.emplace(drawing, pdf.newStream(drawing)).first;
    pageDictionary.replaceKey("/Contents", content->second);
    if (text) {
        textLayers.add(pageDictionary, *text, TextLayerPage{width.getNumericValue(), height.getNumericValue()});
        // Shown the right way up; the image keeps the fax's own data.
        if (text->rotation != 0) pageDictionary.replaceKey("/Rotate", Object::newInteger(text->rotation));
    }
    pdf.addPage(pdf.makeIndirectObject(pageDictionary), false);
}

// The document information, its XMP copy and the output intent of PDF/A.
void describeDocument(QPDF& pdf, const PdfDocumentInfo& info) {
    Object dictionary = Object::newDictionary();
    dictionary.replaceKey("/Title", Object::newUnicodeString(validUtf8(info.title)));
    dictionary.replaceKey("/Producer", Object::newUnicodeString(validUtf8(info.producer)));
    dictionary.replaceKey("/CreationDate", Object::newString(pdfDate(info.created)));
    // A key of the program's own, with no XMP property to mirror.
    if (!info.runRecord.empty()) dictionary.replaceKey(kRunRecordKey, Object::newString(info.runRecord));
    pdf.getTrailer().replaceKey("/Info", pdf.makeIndirectObject(dictionary));

    Object root = pdf.getRoot();
    Object metadata = pdf.newStream(xmpPacket(info));
    metadata.getDict().replaceKey("/Type", Object::newName("/Metadata"));
    metadata.getDict().replaceKey("/Subtype", Object::newName("/XML"));
    root.replaceKey("/Metadata", metadata);

    Object profile = pdf.newStream(std::string(outputProfile()));
    profile.getDict().replaceKey("/N", Object::newInteger(outputProfileComponents()));
    Object intent = Object::parse("<< /Type /OutputIntent /S /GTS_PDFA1 >>");
    const Object condition = Object::newString(std::string(outputProfileName()));
    intent.replaceKey("/OutputConditionIdentifier", condition);
    intent.replaceKey("/Info", condition);
    intent.replaceKey("/DestOutputProfile", profile);
    root.replaceKey("/OutputIntents", Object::newArray({pdf.makeIndirectObject(intent)}));
}

// qpdf's end of a ByteSink: qpdf writes the file in one pass, in order.
class SinkPipeline final : public Pipeline {
public:
    explicit SinkPipeline(ByteSink& sink) : Pipeline("output", nullptr), sink_(sink) {}
    void write(unsigned char const* data, size_t size) override {
        if (!sink_.write(data, size)) throw std::runtime_error("the output refused the PDF's bytes");
    }
    void finish() override {}

private:
    ByteSink& sink_;
};

}  // namespace

bool writeFaxPdf(CodedPages& pages, const PdfDocumentInfo& info, ByteSink& out,
                 const std::vector<RecognizedPage>* pageTexts) {
    try {
        if (pages.pages().empty()) return false;
        const auto provider = std::make_shared<PageData>(pages);
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.emptyPDF();
        ImageContents imageContents;
        TextLayerWriter textLayers(pdf);
        for (std::size_t index = 0; index < pages.pages().size(); ++index)
            addPage(pdf, provider, index, imageContents, textLayers,
                    pageTexts && index < pageTexts->size() ? &(*pageTexts)[index] : nullptr);
        describeDocument(pdf, info);
        SinkPipeline output(out);
        QPDFWriter writer(pdf);
        writer.setOutputPipeline(&output);
        writer.setMinimumPDFVersion("1.7");
        // Deflate what is not coded already: the text layers and the
        // profile. The images keep their CCITT data as it is (qpdf does not
        // decode CCITT), and qpdf leaves the document's XMP uncompressed so
        // that tools that look for it as plain text find it.
        writer.setCompressStreams(true);
        // PDF/A-2 allows object and cross-reference streams (PDF/A-1 did
        // not): the dictionaries of a page and its image deflate together.
        writer.setObjectStreamMode(qpdf_o_generate);
        writer.write();
        return true;
    } catch (const std::exception&) {
        return false;  // qpdf reports every failure, of its own or of the pages, as an exception
    }
}

}  // namespace quillon
