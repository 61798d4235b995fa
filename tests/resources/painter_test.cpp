// The painter gives the same bytes on every run, and the build's files are
// the ones it gives.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>

#include "game/model/bitmaps.h"

#include "tests/resources/resource_reader.h"

namespace fs = std::filesystem;

namespace {

struct TempDir {
    fs::path path;
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "plinkfield-painter-XXXXXX").string();
        if (mkdtemp(pattern.data())) path = pattern;
    }
    ~TempDir() {
        std::error_code ec;
        if (!path.empty()) fs::remove_all(path, ec);
    }
};

std::set<std::string> files_under(const fs::path& root) {
    std::set<std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file()) files.insert(fs::relative(e.path(), root).string());
    return files;
}

// As the build runs it.
int run_painter(const fs::path& out) {
    const std::string command = std::string("\"") + PLINKFIELD_PAINTER + "\" --font=\"" + PLINKFIELD_LABEL_FONT +
                                "\" \"" + out.string() + "\" " +
                                PLINKFIELD_VERSION + " " + PLINKFIELD_ICON_NAME + " " + PLINKFIELD_ICON_SIZES;
    return std::system(command.c_str());
}

TEST(Painter, TwoRunsGiveIdenticalFiles) {
    TempDir a, b;
    ASSERT_FALSE(a.path.empty());
    ASSERT_FALSE(b.path.empty());
    ASSERT_EQ(run_painter(a.path), 0);
    ASSERT_EQ(run_painter(b.path), 0);
    const std::set<std::string> names = files_under(a.path);
    EXPECT_EQ(names, files_under(b.path));
    EXPECT_EQ(names, files_under(resource_dir())) << "the build's folder holds exactly what the painter writes";
    // bitmaps, sounds, cursor, the @2x twins of the bitmaps and the cursor
    // and the native game's WebP of the bitmaps' twins; Ambient's four;
    // scripts, sources, four review pictures, seven sizes of the desktop
    // icon and the window's, the manifest, the refusal beep, the best
    // score's plate with its two twins
    EXPECT_EQ(names.size(), 66u + 17u + 1u + 67u + 66u + 4u + 2u + 2u + 4u + 7u + 1u + 1u + 1u + 3u);
    for (const std::string& n : names) {
        const Bytes first = read_bytes((a.path / n).string());
        EXPECT_FALSE(first.empty()) << n;
        EXPECT_EQ(first, read_bytes((b.path / n).string())) << n << " differs between two runs";
        EXPECT_EQ(first, read_bytes(resource_dir() + "/" + n)) << n << " differs from the build's";
    }
}

// The Windows game's script carries every bitmap's twin the painter paints,
// under the bitmap's identifier: the painter writes the list, so that it
// keeps up with the catalogue it is built on.
TEST(Painter, TheGameScriptCarriesEveryTwinItPaints) {
    std::set<std::string> listed, painted;
    std::istringstream rc(read_text(resource_dir() + "/game.rc"));
    for (std::string line; std::getline(rc, line);) {
        std::istringstream fields(line);
        std::string id, type, file;
        if (!(fields >> id >> type >> file) || type != "RCDATA") continue;
        EXPECT_EQ(file, "\"game/" + id + "@2x.png\"") << "the twin of bitmap " << id;
        listed.insert(file.substr(1, file.size() - 2));
    }
    for (const std::string& file : files_under(fs::path(resource_dir()) / "game"))
        if (file.find("@2x.") != std::string::npos && file != "32@2x.png") painted.insert("game/" + file);
    EXPECT_EQ(listed, painted);
    EXPECT_EQ(painted.size(), BITMAP_CATALOGUE.size()) << "every bitmap";
}

}  // namespace
