#include "mission/Fields.h"

namespace kestrane {

const Field* FindField(std::string_view name) {
    for (const Field& f : kFields)
        if (f.name == name) return &f;
    return nullptr;
}

const Field* FieldAt(int offset) {
    for (const Field& f : kFields)
        if (f.Holds(offset)) return &f;
    return nullptr;
}

}  // namespace kestrane
