#include "component/registry.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "component/atomic_file.h"
#include "component/text_util.h"

namespace morva::com {

std::string RegistryPath() {
    if (const char* env = std::getenv("MORVA_COMPONENTS"); env && *env) return env;
    return ConfigDirectory() + "/Morva Software/components.ini";
}

Registry::Registry(std::string path) : path_(std::move(path)) {
    std::ifstream in(path_);
    std::string line;
    Values* current = nullptr;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';') continue;
        if (line.front() == '[' && line.back() == ']') {
            std::string key = line.substr(1, line.size() - 2);
            CreateKey(key);
            current = Find(key);
        } else if (auto eq = line.find('='); current && eq != std::string::npos) {
            current->emplace_back(line.substr(0, eq), line.substr(eq + 1));
        }
    }
}

Registry::Values* Registry::Find(const std::string& key) {
    for (auto& [k, v] : keys_)
        if (EqualsIgnoreCase(k, key)) return &v;
    return nullptr;
}

const Registry::Values* Registry::Find(const std::string& key) const {
    return const_cast<Registry*>(this)->Find(key);
}

std::optional<std::string> Registry::Get(const std::string& key, const std::string& name) const {
    if (const Values* v = Find(key))
        for (const auto& [n, value] : *v)
            if (EqualsIgnoreCase(n, name)) return value;
    return std::nullopt;
}

void Registry::CreateKey(const std::string& key) {
    if (!Find(key)) keys_.emplace_back(key, Values{});
}

void Registry::Set(const std::string& key, const std::string& name, const std::string& value) {
    CreateKey(key);
    Values* v = Find(key);
    for (auto& [n, old] : *v) {
        if (EqualsIgnoreCase(n, name)) {
            old = value;
            return;
        }
    }
    v->emplace_back(name, value);
}

void Registry::RemoveTree(const std::string& key) {
    std::string prefix = key + "\\";
    std::erase_if(keys_, [&](const auto& entry) {
        return EqualsIgnoreCase(entry.first, key) ||
               (entry.first.size() > prefix.size() &&
                EqualsIgnoreCase(entry.first.substr(0, prefix.size()), prefix));
    });
}

bool Registry::HasKey(const std::string& key) const {
    return Find(key) != nullptr;
}

std::vector<std::string> Registry::Keys() const {
    std::vector<std::string> r;
    for (const auto& [k, v] : keys_) r.push_back(k);
    return r;
}

bool Registry::Save(std::string* error) const {
    std::ostringstream out;
    for (const auto& [k, values] : keys_) {
        out << '[' << k << "]\n";
        for (const auto& [n, v] : values) out << n << '=' << v << '\n';
        out << '\n';
    }
    return WriteFileAtomically(path_, out.str(), error);
}

}  // namespace morva::com
