#pragma once
// The tables of a Jet 4 file as its system catalogue, MSysObjects (whose definition is
// page 2), lists them: per object its Id (for a table, its definition's page in the low
// 24 bits), Name, Type (1 a local table) and Flags (0x80000000 or 0x00000002: a system
// table).

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tabrel {

struct JetCatalogueTable {
    std::u16string name;
    std::uint32_t definitionPage = 0;
    bool isSystem = false;
};

// The local tables, system tables too, in catalogue order; nullopt with the reason in
// error when the catalogue cannot be read.
std::optional<std::vector<JetCatalogueTable>> ReadJetCatalogue(std::span<const std::uint8_t> file,
                                                               std::string& error);

}  // namespace tabrel
