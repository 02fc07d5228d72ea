// The .dat readers of the four applications, classic and PalmSG alike, through the facade:
// the input (after a first byte that chooses the application) is loaded as a data file,
// every field of every record exported, the file saved unchanged, and the saved file must
// load again and export the same.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "engine/ConversionJob.h"

namespace tabrel {

namespace {

// Every field's text of every record of the file, or nothing when it does not load; with
// save, the facade saves it unchanged first (after the texts are taken).
std::optional<std::vector<std::string>> LoadAndExport(int app, const std::string& path, bool save,
                                                      bool& saved) {
    ConversionJob job;
    job.m_nApp = app;
    if (!job.Visit([&](auto& facade, auto&) { return facade.LoadByFile(path); })) {
        return std::nullopt;
    }
    const std::vector<FieldDescriptor> catalogue = job.GetCatalogue();
    std::vector<std::string> texts;
    job.Visit([&](auto& facade, auto&) {
        const auto& store = facade.GetCommMgr();
        for (std::size_t i = 0; i < store.GetCount(); ++i) {
            for (const FieldDescriptor& field : catalogue) {
                std::string text;
                facade.GetFieldText(*store.GetAt(i), field, text, 32768);
                texts.push_back(std::move(text));
            }
        }
        saved = save && facade.Save();
        return true;
    });
    return texts;
}

}  // namespace

}  // namespace tabrel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tabrel;
    if (size < 1) {
        return 0;
    }
    const int app = AppContacts + data[0] % 4;
    const std::string path = fuzz::Scratch().Write("fuzz.dat", data + 1, size - 1);
    bool saved = false;
    const auto first = LoadAndExport(app, path, true, saved);
    if (!first || !saved) {
        return 0;
    }
    bool unused = false;
    const auto again = LoadAndExport(app, path, false, unused);
    fuzz::Require(again.has_value(), "a saved file loads again");
    fuzz::Require(*again == *first, "a saved file exports as it did before the save");
    return 0;
}
