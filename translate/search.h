#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vlp {

struct SearchHit {
    int editor = 0;
    int position = 0;
};

// Searches editor texts (each as the editor gives it, CR LF line ends) for `needle`, forward
// and ignoring case: editor `active` from `cursor` to its end, then the following editors from
// their start, wrapping around; the part of the active editor before the cursor is never
// searched. Letter case is ignored by the Windows-1250 casing. Returns nothing when the text
// is not found, and for an empty needle.
std::optional<SearchHit> FindTextInEditors(const std::vector<std::string>& texts, int active, int cursor,
                                           std::string_view needle);

}  // namespace vlp
