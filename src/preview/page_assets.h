// The preview page's three files, built into the program from
// src/preview/page/ (see cmake/embed_assets.cmake).
#pragma once

#include <string_view>

namespace scenariogen {

struct PageAssets {
    std::string_view html;
    std::string_view script;
    std::string_view style;
};

PageAssets preview_page_assets();

}  // namespace scenariogen
