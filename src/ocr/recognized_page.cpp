#include "ocr/recognized_page.h"

namespace quillon {

double RecognizedPage::meanConfidence() const {
    if (words.empty()) return 0;
    double sum = 0;
    for (const RecognizedWord& word : words) sum += word.confidence;
    return sum / double(words.size());
}

}  // namespace quillon
