#pragma once
// The component registry: an INI file of keys (sections named by their path, such as
// "CLSID\{...}\InprocServer32") and their values ("@" is a key's default value).

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace morva::com {

/// Path of the registry file: $MORVA_COMPONENTS, else
/// $XDG_CONFIG_HOME (or ~/.config)/Morva Software/components.ini.
std::string RegistryPath();

class Registry {
  public:
    /// Reads the file at `path`; a missing file is an empty registry.
    explicit Registry(std::string path);

    /// The value `name` of `key` ("@" for the default value), if present.
    std::optional<std::string> Get(const std::string& key, const std::string& name = "@") const;
    /// Sets a value, creating the key.
    void Set(const std::string& key, const std::string& name, const std::string& value);
    /// Creates the key with no values.
    void CreateKey(const std::string& key);
    /// Removes the key, its values and every key below it.
    void RemoveTree(const std::string& key);
    bool HasKey(const std::string& key) const;
    std::vector<std::string> Keys() const;

    /// Writes the file atomically (temporary file, then rename); false with `error` on failure.
    bool Save(std::string* error) const;

  private:
    using Values = std::vector<std::pair<std::string, std::string>>;
    std::string path_;
    std::vector<std::pair<std::string, Values>> keys_;  // in file order

    Values* Find(const std::string& key);
    const Values* Find(const std::string& key) const;
};

}  // namespace morva::com
