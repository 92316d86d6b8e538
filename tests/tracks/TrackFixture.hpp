#pragma once
// A small installation of the game in a temporary directory, made current for
// the test, and a track weather parser over it that reports into a string.

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "support/TempDir.hpp"
#include "tracks/FileSystemTextureHost.hpp"
#include "tracks/TrackWeatherParser.hpp"

namespace zudo::test {

// The text with every "\n" written as the platform's text line end, as the
// standard streams write files in text mode ("\r\n" on Windows).
inline std::string withLineEnds(const std::string& text)
{
#ifdef _WIN32
    std::string result;
    for (const char c : text) {
        result += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    return result;
#else
    return text;
#endif
}

class TrackFixture {
public:
    TrackFixture() : previous_(std::filesystem::current_path()) { std::filesystem::current_path(dir.path()); }
    ~TrackFixture() { std::filesystem::current_path(previous_); }
    TrackFixture(const TrackFixture&) = delete;
    TrackFixture& operator=(const TrackFixture&) = delete;

    struct TextureSpec {
        std::string name;
        bool ground = false;
    };

    // Writes trackName + "_" + letter + ".ini" with NumTextures and the
    // Texture<i> keys of the given textures.
    void writeTrackIni(const std::string& trackName, const std::string& letter,
                       const std::vector<TextureSpec>& textures) const
    {
        std::string text = "[TextureInfo]\r\nNumTextures=" + std::to_string(textures.size()) + "\r\n";
        for (std::size_t i = 0; i < textures.size(); ++i) {
            text += "Texture" + std::to_string(i) + "=" + textures[i].name + "\r\n";
        }
        for (const TextureSpec& texture : textures) {
            text += "[" + texture.name + "]\r\nIsGroundTexture=" + (texture.ground ? "1" : "0") + "\r\n";
        }
        dir.write(trackName + "_" + letter + ".ini", text);
    }

    void writeFile(const std::string& relative, const std::string& content = "dds") const
    {
        dir.write(relative, content);
    }

    std::unique_ptr<legacy::support::TrackWeatherParser> makeParser()
    {
        legacy::support::TrackWeatherParser::Sources sources;
        sources.trackSettingsIni = dir.file("Maps/TrackSettings.ini");
        sources.tracksIni = dir.file("Maps/Tracks.ini");
        sources.validationIni = dir.file("Maps/TrackValidation.ini");
        sources.host = &host;
        sources.reports = &reports;
        return std::make_unique<legacy::support::TrackWeatherParser>(std::move(sources));
    }

    // The reports so far, and empties them.
    std::string takeReports()
    {
        std::string text = reports.str();
        reports.str("");
        return text;
    }

    TempDir dir;
    tracks::FileSystemTextureHost host;
    std::ostringstream reports;

private:
    std::filesystem::path previous_;
};

} // namespace zudo::test
