// The product's name: the title of every message the add-ins show.
#pragma once

namespace plorin {

constexpr const char* kProductName = "Varnotel for presentations";

}  // namespace plorin
