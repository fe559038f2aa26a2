// Finding a cube's face in photos and reading the whole cube from six.
//
// The photos are rendered (render_photos.py beside this file, with POV-Ray):
// four sessions of a scrambled cube, each face turned and tilted in the
// frame under warm, cool, dim light or a lamp's glare, on wood, cloth or
// clutter, with sensor noise and JPEG compression; and one larger photo. photos.tsv gives each
// photo's face, the true cube and the face's outer corners. "A few pixels"
// is 6 on faces some 200 wide: the grid is fitted to the stickers' centres
// and its corners lie half a sticker beyond them.

#include "ColourDecision.h"
#include "FaceFinder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kPhotos = ZELVORS_PHOTOS;

struct Photo {
    std::string name;
    int face = 0;
    std::string cube;
    photo::Quad corners{};
};

std::vector<Photo> ReadPhotos()
{
    std::vector<Photo> photos;
    std::ifstream in(kPhotos + "/photos.tsv");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        Photo p;
        fields >> p.name >> p.face >> p.cube;
        for (photo::Point& c : p.corners) {
            char comma = 0;
            fields >> c.x >> comma >> c.y;
        }
        photos.push_back(p);
    }
    return photos;
}

photo::Image Load(const std::string& name)
{
    photo::Image image;
    std::string error;
    EXPECT_TRUE(photo::LoadImage(kPhotos + "/" + name, image, &error)) << error;
    return image;
}

double WorstCornerError(const photo::Quad& found, const photo::Quad& truth)
{
    double worst = 0;
    for (size_t k = 0; k < 4; ++k)
        worst = std::max(worst, std::hypot(found[k].x - truth[k].x, found[k].y - truth[k].y));
    return worst;
}

std::string Text(const Facelets& f)
{
    std::string s;
    for (BYTE b : f)
        s += static_cast<char>('0' + b);
    return s;
}

TEST(FaceFinder, FindsEveryPhotographedFaceWithinAFewPixels)
{
    const std::vector<Photo> photos = ReadPhotos();
    ASSERT_EQ(photos.size(), 25u);
    for (const Photo& p : photos) {
        const photo::Image image = Load(p.name);
        const photo::FaceFinding f = photo::FindFace(image);
        ASSERT_TRUE(f.bFound) << p.name << ": " << f.strProblem;
        // The larger photo (searched shrunk) in proportion.
        EXPECT_LE(WorstCornerError(f.corners, p.corners), 6.0 * image.width / 640) << p.name;
        EXPECT_GE(f.nStickersSeen, 5) << p.name;
    }
}

TEST(FaceFinder, UpsideDownPhotoGivesTheCornersTurnedWithIt)
{
    // Turned half round, the face is still nearest to upright with the
    // corners two places on: the old bottom right is the new top left.
    const Photo p = ReadPhotos().at(7);
    photo::Image image = Load(p.name);
    for (size_t a = 0, b = image.rgb.size() - 3; a < b; a += 3, b -= 3)
        for (size_t ch = 0; ch < 3; ++ch)
            std::swap(image.rgb[a + ch], image.rgb[b + ch]);
    const photo::FaceFinding f = photo::FindFace(image);
    ASSERT_TRUE(f.bFound) << f.strProblem;
    photo::Quad turned;
    for (size_t k = 0; k < 4; ++k) {
        const photo::Point& c = p.corners[(k + 2) % 4];
        turned[k] = {image.width - 1 - c.x, image.height - 1 - c.y};
    }
    EXPECT_LE(WorstCornerError(f.corners, turned), 6.0);
}

TEST(FaceFinder, ReadsEachSessionsCubeExactly)
{
    std::map<std::string, std::vector<Photo>> sessions;
    for (const Photo& p : ReadPhotos())
        if (p.name[1] == '-')
            sessions[p.name.substr(0, 1)].push_back(p);
    ASSERT_EQ(sessions.size(), 4u);
    for (const auto& [name, photos] : sessions) {
        ASSERT_EQ(photos.size(), 6u) << name;
        scan::Measurement m;
        for (const Photo& p : photos) {
            const photo::Image image = Load(p.name);
            const photo::FaceFinding f = photo::FindFace(image);
            ASSERT_TRUE(f.bFound) << p.name;
            const std::array<scan::Rgb, 9> stickers = photo::MeasureFace(image, f.corners);
            std::copy(stickers.begin(), stickers.end(), m.begin() + p.face * 9);
        }
        const scan::ColourDecision d = scan::DecideColours(m);
        EXPECT_EQ(d.nResult, kSolved) << name << ": " << d.note;
        EXPECT_EQ(Text(d.colors), photos[0].cube) << name;
        EXPECT_TRUE(d.note.empty()) << name << ": " << d.note;
    }
}

TEST(FaceFinder, MeasuresTheStickersThroughThePerspective)
{
    // Each sticker measured on its true corners has its true colour's
    // character: the white and yellow bright, the blue mostly blue, ...
    const Photo p = ReadPhotos().at(0);
    const photo::Image image = Load(p.name);
    const std::array<scan::Rgb, 9> stickers = photo::MeasureFace(image, p.corners);
    for (int e = 0; e < 9; ++e) {
        const scan::Rgb& c = stickers[static_cast<size_t>(e)];
        const double top = std::max({c.r, c.g, c.b});
        switch (p.cube[static_cast<size_t>(p.face * 9 + e)]) {
        case '1': EXPECT_TRUE(c.r > 1.5 * c.b && c.g > 1.5 * c.b) << e; break;          // yellow
        case '2': EXPECT_EQ(top, c.b) << e; break;                                        // blue
        case '3': EXPECT_TRUE(c.r > 2 * c.g && c.r > 2 * c.b) << e; break;               // red
        case '4': EXPECT_TRUE(c.r > 1.3 * c.g && c.g > 1.3 * c.b) << e; break;          // orange
        case '5': EXPECT_EQ(top, c.g) << e; break;                                        // green
        case '6': EXPECT_LT(top - std::min({c.r, c.g, c.b}), 0.3 * top) << e; break;     // white
        }
    }
}

TEST(FaceFinder, APhotoWithoutACubeFindsNothing)
{
    const photo::FaceFinding f = photo::FindFace(Load("no-cube.jpg"));
    EXPECT_FALSE(f.bFound);
    EXPECT_FALSE(f.strProblem.empty());
    const photo::FaceFinding empty = photo::FindFace(photo::Image{});
    EXPECT_FALSE(empty.bFound);
}

TEST(FaceFinder, FilesThatAreNoPhotosAreToldByName)
{
    photo::Image image;
    std::string error;
    EXPECT_FALSE(photo::LoadImage(kPhotos + "/missing.jpg", image, &error));
    EXPECT_NE(error.find("missing.jpg"), std::string::npos) << error;
    EXPECT_FALSE(photo::LoadImage(kPhotos + "/photos.tsv", image, &error));
    EXPECT_NE(error.find("photos.tsv"), std::string::npos) << error;
}

} // namespace
