#pragma once
// Typed settings: one small object per key of an ini file, made where the
// value is needed. get() reads the file every time (nothing is cached);
// set() writes it. A missing file or key gives the default; the layer never
// throws.
//
// Keys are declared with the templates at the end of this header (all of the
// system's keys are in config/Settings.hpp), e.g.
//
//     using InGameSplitLabel =
//         Key<zuzuzevoIniPath, "Messages", "InGameSplitLabel", std::string, "S">;
//
//     const std::string label = InGameSplitLabel().get();
//
// The declared default is given as its text; a caller may pass another one.

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>

#include "config/ValueText.hpp"

namespace zudo::config {

class Setting {
public:
    Setting(const Setting&) = default;
    Setting& operator=(const Setting&) = default;
    virtual ~Setting();
    virtual std::string section() const;

    const std::string& key() const { return key_; }
    // The full path of the ini file.
    const std::string& file() const { return file_; }

protected:
    Setting(std::string file, std::string section, std::string key);
    // The trimmed value, or defaultText when the key is missing.
    std::string readText(const std::string& defaultText) const;
    bool writeText(const std::string& text) const;

private:
    std::string file_;
    std::string section_;
    std::string key_;
};

template <class T>
class TypedSetting : public Setting {
public:
    using Value = T;

    // The current value, read from the file now.
    virtual T get() const
    {
        return parsedSetting<T>(readText(settingText(default_)));
    }
    virtual const T* defaultValue() const { return &default_; }
    // Writes the value's text form; false when the file cannot be written.
    bool set(const T& value) const { return writeText(settingText(value)); }

protected:
    TypedSetting(std::string file, std::string section, std::string key, T defaultValue)
        : Setting(std::move(file), std::move(section), std::move(key)),
          default_(std::move(defaultValue))
    {
    }

private:
    T default_;
};

using BoolSetting = TypedSetting<bool>;
using IntSetting = TypedSetting<int>;
using UnsignedSetting = TypedSetting<unsigned>;
using FloatSetting = TypedSetting<float>;
using StringSetting = TypedSetting<std::string>;
using VectorSetting = TypedSetting<Vector3>;
using FloatListSetting = TypedSetting<FloatList>;

// The value of a text setting, or its default when the key holds no text.
std::string valueOrDefault(const StringSetting& setting);

// ---------------------------------------------------------------------------
// Declaring keys.

// A string literal as a template argument.
template <std::size_t N>
struct Literal {
    constexpr Literal(const char (&text)[N]) { std::copy_n(text, N, chars); }
    std::string str() const { return chars; }
    char chars[N] = {};
};

// The function that gives an ini file's full path (config/SettingFiles.hpp).
using PathFunction = std::string (*)();

// "Car" followed by the index, at least width digits with '0' as fill.
std::string indexedSection(const std::string& prefix, int index, int width);

// A key in a fixed section of a file.
template <PathFunction file, Literal section, Literal key, class T, Literal defaultText = "">
class Key : public TypedSetting<T> {
public:
    explicit Key(T defaultValue = declaredDefault())
        : TypedSetting<T>(file(), section.str(), key.str(), std::move(defaultValue))
    {
    }
    static T declaredDefault() { return parsedSetting<T>(defaultText.str()); }
};

// A key in one of numbered sections: prefix and the index, with at least
// width digits (0: no fill).
template <PathFunction file, Literal prefix, int width, Literal key, class T,
          Literal defaultText = "">
class IndexedKey : public TypedSetting<T> {
public:
    explicit IndexedKey(int index, T defaultValue = declaredDefault())
        : TypedSetting<T>(file(), indexedSection(prefix.str(), index, width), key.str(),
                          std::move(defaultValue))
    {
    }
    static T declaredDefault() { return parsedSetting<T>(defaultText.str()); }
};

// A key in a section the caller names.
template <PathFunction file, Literal key, class T, Literal defaultText = "">
class SectionKey : public TypedSetting<T> {
public:
    explicit SectionKey(std::string section, T defaultValue = declaredDefault())
        : TypedSetting<T>(file(), std::move(section), key.str(), std::move(defaultValue))
    {
    }
    static T declaredDefault() { return parsedSetting<T>(defaultText.str()); }
};

// A key whose section and name the caller builds.
template <PathFunction file, class T, Literal defaultText = "">
class BuiltKey : public TypedSetting<T> {
public:
    BuiltKey(std::string section, std::string key, T defaultValue = declaredDefault())
        : TypedSetting<T>(file(), std::move(section), std::move(key), std::move(defaultValue))
    {
    }
    static T declaredDefault() { return parsedSetting<T>(defaultText.str()); }
};

} // namespace zudo::config
