#include "codec/width_class.h"

namespace quillon {

WidthClass classifyWidth(std::int64_t width) {
    struct Limit {
        std::int64_t upTo;
        WidthClass widthClass;
    };
    static constexpr Limit kLimits[] = {
        {1728, {1, 200}}, {2048, {2, 200}}, {2432, {3, 200}}, {2592, {1, 300}},
        {3072, {2, 300}}, {3456, {1, 400}}, {3648, {3, 300}}, {4096, {2, 400}},
    };
    for (const Limit& limit : kLimits)
        if (width <= limit.upTo) return limit.widthClass;
    return {3, 400};
}

}  // namespace quillon
