#include "FaceFinder.h"

#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <fstream>

namespace photo {

namespace {

// The longest side a photo is searched at; larger ones are shrunk first (the
// corners are given in the photo's own pixels).
constexpr int kSearchSize = 800;

// A quadrilateral blob that may be a sticker.
struct Sticker {
    cv::Point2d centre;
    cv::Point2d across1, across2; // from one side's middle to the opposite side's
    double area = 0;
    double solidity = 0; // its area over its convex hull's: below 1 where a shadow or glare cut it
};

// Where a face's grid is: lattice point (i, j), sticker centres at 0..2,
// maps to the picture through a homography.
struct Grid {
    cv::Matx33d h;
    int nSeen = 0;
    double score = 0;
    // The stickers seen: lattice places and centres in the picture.
    std::vector<cv::Point2d> places, centres;
};

double Length(const cv::Point2d& p) { return std::hypot(p.x, p.y); }

cv::Point2d Apply(const cv::Matx33d& h, double x, double y)
{
    const cv::Vec3d p = h * cv::Vec3d(x, y, 1.0);
    return {p[0] / p[2], p[1] / p[2]};
}

// The quadrilateral blobs of a binary picture (stickers white).
void AddStickers(const cv::Mat& binary, double minArea, double maxArea, std::vector<Sticker>& out)
{
    std::vector<std::vector<cv::Point>> contours;
    cv::findContours(binary, contours, cv::RETR_LIST, cv::CHAIN_APPROX_SIMPLE);
    std::vector<cv::Point> hull, quad;
    for (const std::vector<cv::Point>& contour : contours) {
        const double area = cv::contourArea(contour);
        if (area < minArea || area > maxArea)
            continue;
        cv::convexHull(contour, hull);
        const double hullArea = cv::contourArea(hull);
        if (hullArea <= 0 || area / hullArea < 0.85)
            continue;
        const double perimeter = cv::arcLength(hull, true);
        for (double eps : {0.03, 0.05, 0.08, 0.11}) {
            cv::approxPolyDP(hull, quad, eps * perimeter, true);
            if (quad.size() <= 4)
                break;
        }
        if (quad.size() != 4)
            continue;
        const double quadArea = cv::contourArea(quad);
        if (quadArea < 0.75 * area || quadArea > 1.3 * area)
            continue;
        Sticker s;
        const cv::Point2d q[4] = {quad[0], quad[1], quad[2], quad[3]};
        s.across1 = (q[1] + q[2] - q[0] - q[3]) * 0.5;
        s.across2 = (q[2] + q[3] - q[0] - q[1]) * 0.5;
        const double l1 = Length(s.across1), l2 = Length(s.across2);
        if (l1 < 3 || l2 < 3 || l1 > 3.5 * l2 || l2 > 3.5 * l1)
            continue;
        // Near a parallelogram: the two halves' diagonals agree.
        const double d1 = Length(q[2] - q[0]), d2 = Length(q[3] - q[1]);
        if (d1 > 2.5 * d2 || d2 > 2.5 * d1)
            continue;
        const cv::Moments m = cv::moments(contour);
        s.centre = {m.m10 / m.m00, m.m01 / m.m00};
        s.area = area;
        s.solidity = area / hullArea;
        out.push_back(s);
    }
}

// Each blob once: blobs with nearly the same centre and size are one, its
// centre the median of the most solid of them (a map's blob cut by a shadow
// or glare is less solid than the whole sticker another map found).
std::vector<Sticker> Distinct(const std::vector<Sticker>& all)
{
    std::vector<Sticker> out;
    std::vector<std::vector<size_t>> members;
    for (size_t n = 0; n < all.size(); ++n) {
        const Sticker& s = all[n];
        size_t k = 0;
        for (; k < out.size(); ++k) {
            const Sticker& o = out[k];
            if (Length(o.centre - s.centre) < 0.25 * std::sqrt(std::min(o.area, s.area)) &&
                s.area < 1.6 * o.area && o.area < 1.6 * s.area)
                break;
        }
        if (k == out.size()) {
            out.push_back(s);
            members.emplace_back();
        }
        members[k].push_back(n);
    }
    std::vector<double> xs, ys;
    for (size_t k = 0; k < out.size(); ++k) {
        xs.clear();
        ys.clear();
        double best = 0;
        for (size_t n : members[k])
            best = std::max(best, all[n].solidity);
        for (size_t n : members[k])
            if (all[n].solidity > best - 0.03) {
                xs.push_back(all[n].centre.x);
                ys.push_back(all[n].centre.y);
            }
        std::sort(xs.begin(), xs.end());
        std::sort(ys.begin(), ys.end());
        const size_t m = xs.size();
        out[k].centre = m % 2 ? cv::Point2d(xs[m / 2], ys[m / 2])
                              : cv::Point2d((xs[m / 2 - 1] + xs[m / 2]) / 2, (ys[m / 2 - 1] + ys[m / 2]) / 2);
    }
    return out;
}

bool SimilarSize(const Sticker& a, const Sticker& b) { return a.area < 2.6 * b.area && b.area < 2.6 * a.area; }

// The sticker of list nearest to p within tolerance, or -1.
int NearestSticker(const std::vector<Sticker>& list, const cv::Point2d& p, double tolerance)
{
    int best = -1;
    double bestDistance = tolerance;
    for (size_t k = 0; k < list.size(); ++k) {
        const double d = Length(list[k].centre - p);
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(k);
        }
    }
    return best;
}

// Brightness (the largest channel) at p, 0 outside the picture.
double BrightnessAt(const cv::Mat& value, const cv::Point2d& p)
{
    const int x = static_cast<int>(std::lround(p.x)), y = static_cast<int>(std::lround(p.y));
    if (x < 0 || y < 0 || x >= value.cols || y >= value.rows)
        return 0;
    return value.at<std::uint8_t>(y, x);
}

// Checks and scores the grid whose stickers (0,0), (2,0), (2,2), (0,2) have
// the given centres: how many of its nine places hold a sticker, how dark
// the gaps between them are, how squarely it is seen and how large.
bool ScoreGrid(const std::vector<Sticker>& stickers, const cv::Mat& value, const cv::Point2f centres[4],
               double pictureArea, Grid& grid)
{
    const cv::Point2f lattice[4] = {{0, 0}, {2, 0}, {2, 2}, {0, 2}};
    grid.h = cv::getPerspectiveTransform(lattice, centres);
    // The face's outline (half a pitch beyond the corner stickers) is convex.
    std::vector<cv::Point2f> outer;
    for (const cv::Point2f& l : lattice) {
        const cv::Point2d p = Apply(grid.h, (l.x - 1) * 1.5 + 1, (l.y - 1) * 1.5 + 1);
        outer.emplace_back(static_cast<float>(p.x), static_cast<float>(p.y));
    }
    if (!cv::isContourConvex(outer))
        return false;
    const double area = cv::contourArea(outer);
    if (area < 0.003 * pictureArea)
        return false;
    // Every sticker in the picture: a face cut by the picture's edge cannot be read.
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i) {
            const cv::Point2d p = Apply(grid.h, i, j);
            if (p.x < 0 || p.y < 0 || p.x >= value.cols || p.y >= value.rows)
                return false;
        }
    const double pitch = std::sqrt(area) / 3;

    int nSeen = 0;
    double stickerValue[3][3];
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i) {
            const cv::Point2d p = Apply(grid.h, i, j);
            const int k = NearestSticker(stickers, p, 0.22 * pitch);
            if (k >= 0 && stickers[k].area > 0.25 * pitch * pitch && stickers[k].area < 1.2 * pitch * pitch) {
                ++nSeen;
                grid.places.emplace_back(i, j);
                grid.centres.push_back(stickers[k].centre);
            }
            stickerValue[j][i] = BrightnessAt(value, p);
        }
    if (nSeen < 5)
        return false;

    // Between neighbours lies the dark body: the darkest point across the gap
    // is well below both stickers.
    int nDark = 0;
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i)
            for (int dir = 0; dir < 2; ++dir) {
                const int i2 = i + (dir == 0), j2 = j + (dir == 1);
                if (i2 > 2 || j2 > 2)
                    continue;
                double darkest = 255;
                for (double t = 0.3; t <= 0.71; t += 0.05)
                    darkest = std::min(darkest, BrightnessAt(value, Apply(grid.h, i + t * (i2 - i), j + t * (j2 - j))));
                if (darkest < 0.6 * std::min(stickerValue[j][i], stickerValue[j2][i2]))
                    ++nDark;
            }
    if (nDark < 8)
        return false;

    // Seen squarely: the grid's sides nearly equal, its corners near right angles.
    const cv::Point2d top = Apply(grid.h, 2, 0) - Apply(grid.h, 0, 0);
    const cv::Point2d left = Apply(grid.h, 0, 2) - Apply(grid.h, 0, 0);
    const double lengthRatio = std::min(Length(top), Length(left)) / std::max(Length(top), Length(left));
    const double sine = std::abs(top.x * left.y - top.y * left.x) / (Length(top) * Length(left));
    const double squareness = lengthRatio * sine;
    if (squareness < 0.4)
        return false;
    grid.nSeen = nSeen;
    grid.score = nSeen + 3.0 * nDark / 12 + 3.0 * squareness + 4.0 * std::sqrt(area / pictureArea);
    return true;
}

// The grids a sticker and one of its neighbours span: the lattice steps
// along the pair and across it, the stickers near its places, and each 3x3
// window of them that holds the seed.
void GridsFrom(const std::vector<Sticker>& stickers, const cv::Mat& value, size_t seed, double pictureArea,
               Grid& best)
{
    const Sticker& s = stickers[seed];
    const double side = std::sqrt(s.area);
    // Each pair is tried from its first sticker.
    for (size_t n = seed + 1; n < stickers.size(); ++n) {
        if (!SimilarSize(s, stickers[n]))
            continue;
        const cv::Point2d u = stickers[n].centre - s.centre;
        const double step = Length(u);
        if (step < 0.9 * side || step > 1.9 * side)
            continue;
        // The step runs along one of the sticker's directions; the other gives the cross step.
        cv::Point2d along = s.across1, across = s.across2;
        auto cosine = [&](const cv::Point2d& a) { return std::abs(a.dot(u)) / (Length(a) * step); };
        if (cosine(across) > cosine(along))
            std::swap(along, across);
        if (cosine(along) < 0.9)
            continue;
        cv::Point2d v = across * (step / Length(along));
        const int k = NearestSticker(stickers, s.centre + v, 0.35 * Length(v));
        if (k >= 0 && SimilarSize(s, stickers[k]))
            v = stickers[k].centre - s.centre;
        else {
            const int k2 = NearestSticker(stickers, s.centre - v, 0.35 * Length(v));
            if (k2 >= 0 && SimilarSize(s, stickers[k2]))
                v = s.centre - stickers[k2].centre;
        }
        // Lattice places -2..2 around the seed, from an affine step (near
        // enough across five stickers); the nearest sticker to each.
        const double det = u.x * v.y - u.y * v.x;
        if (std::abs(det) < 0.2 * step * Length(v))
            continue;
        int place[5][5];
        double residual[5][5];
        for (auto& row : place)
            std::fill(std::begin(row), std::end(row), -1);
        for (size_t m = 0; m < stickers.size(); ++m) {
            if (!SimilarSize(s, stickers[m]))
                continue;
            const cv::Point2d d = stickers[m].centre - s.centre;
            const double a = (d.x * v.y - d.y * v.x) / det, b = (u.x * d.y - u.y * d.x) / det;
            const double ia = std::round(a), ib = std::round(b);
            if (std::abs(ia) > 2 || std::abs(ib) > 2)
                continue;
            const double r = std::hypot(a - ia, b - ib);
            const int pi = static_cast<int>(ia) + 2, pj = static_cast<int>(ib) + 2;
            if (r < 0.3 && (place[pj][pi] < 0 || r < residual[pj][pi])) {
                place[pj][pi] = static_cast<int>(m);
                residual[pj][pi] = r;
            }
        }
        for (int j0 = 0; j0 <= 2; ++j0)
            for (int i0 = 0; i0 <= 2; ++i0) {
                int nCount = 0;
                for (int j = 0; j < 3; ++j)
                    for (int i = 0; i < 3; ++i)
                        nCount += place[j0 + j][i0 + i] >= 0;
                if (nCount < 5)
                    continue;
                // The corner stickers' centres, a missing one completed from its neighbours.
                auto centreAt = [&](int i, int j) -> cv::Point2d {
                    const int k = place[j0 + j][i0 + i];
                    if (k >= 0)
                        return stickers[k].centre;
                    const int di = i == 0 ? 1 : -1, dj = j == 0 ? 1 : -1;
                    const int a = place[j0 + j][i0 + i + di], b = place[j0 + j + dj][i0 + i],
                              c = place[j0 + j + dj][i0 + i + di];
                    if (a >= 0 && b >= 0 && c >= 0)
                        return stickers[a].centre + stickers[b].centre - stickers[c].centre;
                    return s.centre + u * (i0 + i - 2) + v * (j0 + j - 2);
                };
                const cv::Point2d c[4] = {centreAt(0, 0), centreAt(2, 0), centreAt(2, 2), centreAt(0, 2)};
                cv::Point2f centres[4];
                for (int q = 0; q < 4; ++q)
                    centres[q] = cv::Point2f(static_cast<float>(c[q].x), static_cast<float>(c[q].y));
                Grid grid;
                if (ScoreGrid(stickers, value, centres, pictureArea, grid) && grid.score > best.score)
                    best = grid;
            }
    }
}

// The homography that best maps the lattice places seen to their stickers'
// centres (least squares of the direct linear equations, h33 = 1; OpenCV's
// own fit is in calib3d, which this library does not link). False when the
// places do not fix one.
bool FitGrid(const std::vector<cv::Point2d>& places, const std::vector<cv::Point2d>& centres, cv::Matx33d& h)
{
    if (places.size() < 5)
        return false;
    // Picture coordinates centred and scaled to about 1, for a well-posed system.
    cv::Point2d mean(0, 0);
    for (const cv::Point2d& c : centres)
        mean += c;
    mean *= 1.0 / centres.size();
    double spread = 0;
    for (const cv::Point2d& c : centres)
        spread += Length(c - mean);
    spread /= centres.size();
    if (spread <= 0)
        return false;
    cv::Mat a(static_cast<int>(2 * places.size()), 8, CV_64F), b(a.rows, 1, CV_64F);
    for (size_t k = 0; k < places.size(); ++k) {
        const double x = places[k].x, y = places[k].y;
        const double u = (centres[k].x - mean.x) / spread, v = (centres[k].y - mean.y) / spread;
        const double rowU[8] = {x, y, 1, 0, 0, 0, -u * x, -u * y};
        const double rowV[8] = {0, 0, 0, x, y, 1, -v * x, -v * y};
        for (int c = 0; c < 8; ++c) {
            a.at<double>(static_cast<int>(2 * k), c) = rowU[c];
            a.at<double>(static_cast<int>(2 * k + 1), c) = rowV[c];
        }
        b.at<double>(static_cast<int>(2 * k)) = u;
        b.at<double>(static_cast<int>(2 * k + 1)) = v;
    }
    cv::Mat x;
    if (!cv::solve(a, b, x, cv::DECOMP_SVD))
        return false;
    const cv::Matx33d normalised(x.at<double>(0), x.at<double>(1), x.at<double>(2), x.at<double>(3), x.at<double>(4),
                                 x.at<double>(5), x.at<double>(6), x.at<double>(7), 1.0);
    const cv::Matx33d back(spread, 0, mean.x, 0, spread, mean.y, 0, 0, 1);
    h = back * normalised;
    return true;
}

// The picture's pixels as OpenCV sees them (no copy), three channels R, G, B.
cv::Mat Wrap(const Image& image)
{
    return cv::Mat(image.height, image.width, CV_8UC3, const_cast<std::uint8_t*>(image.rgb.data()));
}

int Odd(int n) { return n | 1; }

} // namespace

bool LoadImage(const std::string& strPath, Image& image, std::string* pError)
{
    auto fail = [&](const std::string& strWhy) {
        if (pError)
            *pError = strWhy;
        return false;
    };
    if (!std::ifstream(strPath, std::ios::binary))
        return fail("cannot open " + strPath);
    cv::Mat bgr;
    try {
        bgr = cv::imread(strPath, cv::IMREAD_COLOR);
    } catch (const cv::Exception&) {
        bgr.release();
    }
    if (bgr.empty())
        return fail(strPath + " is not an image that can be read");
    image.width = bgr.cols;
    image.height = bgr.rows;
    image.rgb.resize(static_cast<size_t>(bgr.cols) * bgr.rows * 3);
    cv::Mat rgb(bgr.rows, bgr.cols, CV_8UC3, image.rgb.data());
    cv::cvtColor(bgr, rgb, cv::COLOR_BGR2RGB);
    return true;
}

FaceFinding FindFace(const Image& image)
{
    FaceFinding finding;
    if (image.width < 16 || image.height < 16 ||
        image.rgb.size() != static_cast<size_t>(image.width) * image.height * 3) {
        finding.strProblem = "the picture is empty or too small";
        return finding;
    }
    cv::Mat picture = Wrap(image);
    const double scale = std::min(1.0, double(kSearchSize) / std::max(image.width, image.height));
    if (scale < 1.0)
        cv::resize(picture, picture, cv::Size(), scale, scale, cv::INTER_AREA);

    // Brightness as the largest channel: every sticker, white or coloured,
    // stands out from the dark body around it.
    std::vector<cv::Mat> channels;
    cv::split(picture, channels);
    cv::Mat value;
    cv::max(channels[0], channels[1], value);
    cv::max(value, channels[2], value);
    cv::medianBlur(value, value, 3);
    cv::Mat smooth;
    cv::GaussianBlur(value, smooth, cv::Size(5, 5), 0);

    const int shortSide = std::min(picture.cols, picture.rows);
    const double minArea = std::pow(shortSide / 45.0, 2), maxArea = std::pow(shortSide / 3.2, 2);
    std::vector<Sticker> all;
    cv::Mat binary;
    const cv::Mat kernel = cv::getStructuringElement(cv::MORPH_RECT, cv::Size(3, 3));
    // Brighter than the neighbourhood, at two neighbourhood sizes.
    for (int block : {Odd(shortSide / 5), Odd(shortSide / 10)}) {
        cv::adaptiveThreshold(smooth, binary, 255, cv::ADAPTIVE_THRESH_MEAN_C, cv::THRESH_BINARY, block, -4);
        cv::morphologyEx(binary, binary, cv::MORPH_OPEN, kernel);
        AddStickers(binary, minArea, maxArea, all);
    }
    // Brighter than the picture as a whole.
    cv::threshold(smooth, binary, 0, 255, cv::THRESH_BINARY | cv::THRESH_OTSU);
    cv::morphologyEx(binary, binary, cv::MORPH_OPEN, kernel);
    AddStickers(binary, minArea, maxArea, all);
    // Regions closed by edges, for stickers of little contrast.
    cv::Canny(smooth, binary, 20, 60);
    cv::dilate(binary, binary, kernel);
    cv::bitwise_not(binary, binary);
    AddStickers(binary, minArea, maxArea, all);

    const std::vector<Sticker> stickers = Distinct(all);
    Grid best;
    const double pictureArea = double(picture.cols) * picture.rows;
    for (size_t seed = 0; seed < stickers.size(); ++seed)
        GridsFrom(stickers, value, seed, pictureArea, best);
    if (best.nSeen == 0) {
        finding.strProblem = "no cube face found: no 3x3 grid of stickers on a dark body";
        return finding;
    }

    // All the stickers seen fix the grid better than its four corners; a
    // sticker whose blob was cut or joined by glare, shadow or a neighbour
    // sits off the others' grid and is left out, the worst first.
    for (int round = 0; round < 2; ++round) {
        std::vector<cv::Point2d> places = best.places, centres = best.centres;
        cv::Matx33d h;
        bool bFitted = false;
        // Each sticker against the grid the others fit (its own pull left out).
        while (FitGrid(places, centres, h)) {
            bFitted = true;
            const double pitch = Length(Apply(h, 2, 2) - Apply(h, 0, 0)) / (2 * std::sqrt(2.0));
            if (places.size() <= 5)
                break;
            size_t worst = 0;
            double worstError = 0;
            for (size_t k = 0; k < places.size(); ++k) {
                std::vector<cv::Point2d> otherPlaces = places, otherCentres = centres;
                otherPlaces.erase(otherPlaces.begin() + static_cast<long>(k));
                otherCentres.erase(otherCentres.begin() + static_cast<long>(k));
                cv::Matx33d hOthers;
                if (!FitGrid(otherPlaces, otherCentres, hOthers))
                    continue;
                const double e = Length(Apply(hOthers, places[k].x, places[k].y) - centres[k]);
                if (e > worstError) {
                    worstError = e;
                    worst = k;
                }
            }
            if (worstError < 0.06 * pitch)
                break;
            places.erase(places.begin() + static_cast<long>(worst));
            centres.erase(centres.begin() + static_cast<long>(worst));
        }
        if (!bFitted)
            break;
        const cv::Point2d c[4] = {Apply(h, 0, 0), Apply(h, 2, 0), Apply(h, 2, 2), Apply(h, 0, 2)};
        cv::Point2f corners[4];
        for (int k = 0; k < 4; ++k)
            corners[k] = cv::Point2f(static_cast<float>(c[k].x), static_cast<float>(c[k].y));
        Grid refined;
        if (!ScoreGrid(stickers, value, corners, pictureArea, refined) || refined.nSeen < best.nSeen)
            break;
        refined.h = h;
        best = refined;
    }

    // The outer corners lie half a sticker pitch beyond the corner stickers' centres.
    Quad q;
    const double outer[4][2] = {{-0.5, -0.5}, {2.5, -0.5}, {2.5, 2.5}, {-0.5, 2.5}};
    for (int k = 0; k < 4; ++k) {
        const cv::Point2d p = Apply(best.h, outer[k][0], outer[k][1]);
        q[static_cast<size_t>(k)] = {p.x / scale, p.y / scale};
    }
    // Clockwise as seen (y down), then the side nearest to level on top.
    const double cross = (q[1].x - q[0].x) * (q[3].y - q[0].y) - (q[1].y - q[0].y) * (q[3].x - q[0].x);
    if (cross < 0)
        std::swap(q[1], q[3]);
    int top = 0;
    double bestAngle = 10;
    for (int k = 0; k < 4; ++k) {
        const Point& a = q[static_cast<size_t>(k)];
        const Point& b = q[static_cast<size_t>((k + 1) % 4)];
        const double angle = std::abs(std::atan2(b.y - a.y, b.x - a.x));
        if (angle < bestAngle) {
            bestAngle = angle;
            top = k;
        }
    }
    for (int k = 0; k < 4; ++k)
        finding.corners[static_cast<size_t>(k)] = q[static_cast<size_t>((top + k) % 4)];
    finding.bFound = true;
    finding.nStickersSeen = best.nSeen;
    return finding;
}

std::array<scan::Rgb, 9> MeasureFace(const Image& image, const Quad& q)
{
    std::array<scan::Rgb, 9> out{};
    if (image.rgb.size() != static_cast<size_t>(image.width) * image.height * 3 || image.width <= 0)
        return out;
    // The face seen square, kCell pixels a sticker.
    constexpr int kCell = 24;
    const float size = 3 * kCell;
    const cv::Point2f from[4] = {{float(q[0].x), float(q[0].y)}, {float(q[1].x), float(q[1].y)},
                                 {float(q[2].x), float(q[2].y)}, {float(q[3].x), float(q[3].y)}};
    const cv::Point2f to[4] = {{0, 0}, {size, 0}, {size, size}, {0, size}};
    cv::Mat square;
    cv::warpPerspective(Wrap(image), square, cv::getPerspectiveTransform(from, to),
                        cv::Size(3 * kCell, 3 * kCell), cv::INTER_AREA, cv::BORDER_REPLICATE);
    // Each sticker's middle (the inner 40%), per channel the median; pixels
    // a lamp's glare has burnt out are left aside while they are a minority.
    const int lo = kCell * 3 / 10, hi = kCell * 7 / 10;
    std::vector<cv::Vec3b> pixels, kept;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            pixels.clear();
            kept.clear();
            for (int y = r * kCell + lo; y < r * kCell + hi; ++y)
                for (int x = c * kCell + lo; x < c * kCell + hi; ++x) {
                    const cv::Vec3b p = square.at<cv::Vec3b>(y, x);
                    pixels.push_back(p);
                    if (std::min({p[0], p[1], p[2]}) < 235)
                        kept.push_back(p);
                }
            const std::vector<cv::Vec3b>& use = kept.size() * 2 >= pixels.size() ? kept : pixels;
            double channel[3];
            std::vector<std::uint8_t> values(use.size());
            for (int ch = 0; ch < 3; ++ch) {
                for (size_t k = 0; k < use.size(); ++k)
                    values[k] = use[k][ch];
                std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
                channel[ch] = values[values.size() / 2];
            }
            out[static_cast<size_t>(r * 3 + c)] = {channel[0], channel[1], channel[2]};
        }
    return out;
}

} // namespace photo
