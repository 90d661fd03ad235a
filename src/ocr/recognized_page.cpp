#include "ocr/recognized_page.h"

namespace quillon {

std::size_t RecognizedPage::wordCount() const {
    std::size_t count = 0;
    for (const RecognizedLine& line : lines) count += line.words.size();
    return count;
}

double RecognizedPage::meanConfidence() const {
    double sum = 0;
    for (const RecognizedLine& line : lines)
        for (const RecognizedWord& word : line.words) sum += word.confidence;
    const std::size_t count = wordCount();
    return count == 0 ? 0 : sum / double(count);
}

}  // namespace quillon
