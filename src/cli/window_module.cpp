#include "cli/window_module.h"

#include <iostream>

#include "platform/module_loader.h"

namespace quillon {

MainWindowRunner mainWindowFromModule() {
    return [](ProgramContext& context) -> std::optional<int> {
        std::string error;
        void* function = platform::moduleFunction("quillon-window", "quillonRunMainWindow", error);
        if (!function) {
            std::cerr << "The main window cannot be loaded (" << error << "); give a complete command line.\n";
            return std::nullopt;
        }
        return reinterpret_cast<int (*)(ProgramContext&)>(function)(context);
    };
}

}  // namespace quillon
