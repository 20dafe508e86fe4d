#pragma once
// The form description as a tree: objects with their properties and child objects. The text
// parser and the binary reader build it; the binary writer and the text writer walk it.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace morva::formfile {

/// What a property value is. The binary writer picks the value-type byte from the kind and
/// the value (the smallest integer encoding, a short or long, UTF-8 or wide string).
enum class ValueKind {
    kNull,        // Null
    kList,        // ( value ... )
    kInteger,     // 5, -3, $FF
    kExtended,    // 1.5 (ten-byte extended)
    kString,      // 'text'#13#10
    kIdent,       // alClient, Form1.Table1
    kFalse,       // False
    kTrue,        // True
    kBinary,      // { 0A1B }
    kSet,         // [akLeft, akTop]
    kNil,         // nil
    kCollection,  // < item ... end >
    kSingle,      // 1.5s (four-byte float)
    kCurrency,    // 15000c (the currency value times 10000)
    kDate,        // 36526d (eight-byte float)
};

struct Property;
struct CollectionItem;

/// One property value; only the fields of its kind are meaningful.
struct Value {
    ValueKind kind = ValueKind::kNull;
    int64_t integer = 0;                // kInteger; kCurrency: the value times 10000
    long double extended = 0;           // kExtended
    float single = 0;                   // kSingle
    double date = 0;                    // kDate
    std::u32string text;                // kString: characters; may hold lone UTF-16 surrogates
    std::string bytes;                  // kIdent: the identifier; kBinary: the data
    std::vector<std::string> set;       // kSet: the element names
    std::vector<Value> list;            // kList
    std::vector<CollectionItem> items;  // kCollection
};

/// A property, its name possibly dotted ("Font.Name").
struct Property {
    std::string name;
    Value value;
};

/// One item of a collection, with the optional order index written as "item [n]".
struct CollectionItem {
    std::optional<int32_t> index;
    std::vector<Property> properties;
};

/// How an object block begins: "object", "inherited" or "inline".
enum class ObjectKind { kObject, kInherited, kInline };

/// An object block: header, properties, then child objects.
struct FormObject {
    ObjectKind kind = ObjectKind::kObject;
    std::string name;  // may be empty
    std::string className;
    std::optional<int32_t> childPos;  // "[n]" after the class name
    std::vector<Property> properties;
    std::vector<FormObject> children;
};

/// Objects, lists and collections nest at most this deep; deeper input is rejected rather
/// than risking the stack.
inline constexpr int kMaxNesting = 200;

}  // namespace morva::formfile
