#include "pdf/module/xmp_packet.h"

#include "pdf/module/pdf_text.h"

namespace quillon {

std::string xmpPacket(const PdfDocumentInfo& info) {
    return "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
           "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
           " <rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
           "  <rdf:Description rdf:about=\"\"\n"
           "    xmlns:dc=\"http://purl.org/dc/elements/1.1/\"\n"
           "    xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\"\n"
           "    xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\"\n"
           "    xmlns:pdfaid=\"http://www.aiim.org/pdfa/ns/id/\">\n"
           "   <dc:format>application/pdf</dc:format>\n"
           "   <dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">" +
           xmlText(validUtf8(info.title)) +
           "</rdf:li></rdf:Alt></dc:title>\n"
           "   <xmp:CreateDate>" +
           xmpDate(info.created) +
           "</xmp:CreateDate>\n"
           "   <pdf:Producer>" +
           xmlText(validUtf8(info.producer)) +
           "</pdf:Producer>\n"
           "   <pdfaid:part>2</pdfaid:part>\n"
           "   <pdfaid:conformance>B</pdfaid:conformance>\n"
           "  </rdf:Description>\n"
           " </rdf:RDF>\n"
           "</x:xmpmeta>\n"
           "<?xpacket end=\"w\"?>";
}

}  // namespace quillon
