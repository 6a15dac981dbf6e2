#include "mission/Layout.h"

namespace kestrane {

const FieldSpec* FindField(std::string_view name) {
    for (const FieldSpec& f : kFields)
        if (f.name == name) return &f;
    return nullptr;
}

}  // namespace kestrane
