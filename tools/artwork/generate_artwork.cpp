// To regenerate the artwork: cmake --build <build> --target verbeno_artwork_regenerate
// (or run QT_QPA_PLATFORM=offscreen <build>/tools/artwork/verbeno_artwork <repo>/res/images).
//
// Draws Verbeno's pictures with QPainter and writes them in exactly the formats the resources
// need: the main-window picture and the splash picture as uncompressed 8-bit BMPs with a
// 256-colour palette, the toolbar strip as a 4-bit BMP, the program icon as a 16-colour .ico,
// and a large PNG of the icon for the desktop file. Qt's own writers cannot produce 4-bit BMPs
// or 4-bit icons, so the files are written here byte by byte, then read back through Qt and
// checked. The output is deterministic: the same sources, Qt and fonts give the same files.

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSaveFile>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <numeric>
#include <optional>
#include <unordered_map>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

QTextStream& out() {
    static QTextStream stream(stdout);
    return stream;
}

// A tiny fixed-seed generator, so that every run draws the same florets and waveform.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : m_state(seed) {}
    double next() {
        m_state = m_state * 1664525u + 1013904223u;
        return static_cast<double>(m_state >> 8) / 16777216.0;
    }
    double between(double low, double high) { return low + (high - low) * next(); }

private:
    std::uint32_t m_state;
};

// ---------------------------------------------------------------------------------------------
// Colour reduction

struct Rgb {
    double r = 0, g = 0, b = 0;
};

Rgb toRgb(QRgb c) {
    return {double(qRed(c)), double(qGreen(c)), double(qBlue(c))};
}

QRgb toQRgb(Rgb c) {
    const auto channel = [](double v) {
        return std::clamp(int(std::lround(v)), 0, 255);
    };
    return qRgb(channel(c.r), channel(c.g), channel(c.b));
}

// Green counts most and blue least for the eye; these weights keep the palette from spending
// entries on blue steps nobody sees.
constexpr double kWeightR = 2, kWeightG = 4, kWeightB = 3;

double distance2(Rgb a, Rgb b) {
    const double dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
    return kWeightR * dr * dr + kWeightG * dg * dg + kWeightB * db * db;
}

struct Sample {
    Rgb colour;
    double weight = 0;
};

// Distinct colours of the pixels that `use` accepts, with their pixel counts.
std::vector<Sample> histogram(const QImage& image, const std::vector<bool>* use = nullptr) {
    std::unordered_map<QRgb, double> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!use || (*use)[std::size_t(y) * image.width() + x])
                counts[image.pixel(x, y) | 0xff000000u] += 1;
    std::vector<std::pair<QRgb, double>> sorted(counts.begin(), counts.end());
    std::sort(sorted.begin(), sorted.end()); // hash order must not leak into the palette
    std::vector<Sample> samples;
    samples.reserve(sorted.size());
    for (const auto& [colour, count] : sorted)
        samples.push_back({toRgb(colour), count});
    return samples;
}

struct Box {
    std::vector<std::size_t> members;
    double error = 0; // weighted squared error around the box's mean
    int axis = 0;     // channel of largest spread
    Rgb mean;
};

Box makeBox(const std::vector<Sample>& samples, std::vector<std::size_t> members) {
    Box box;
    box.members = std::move(members);
    double total = 0;
    Rgb sum, sum2;
    for (const std::size_t i : box.members) {
        const Sample& s = samples[i];
        total += s.weight;
        sum.r += s.weight * s.colour.r;
        sum.g += s.weight * s.colour.g;
        sum.b += s.weight * s.colour.b;
        sum2.r += s.weight * s.colour.r * s.colour.r;
        sum2.g += s.weight * s.colour.g * s.colour.g;
        sum2.b += s.weight * s.colour.b * s.colour.b;
    }
    box.mean = {sum.r / total, sum.g / total, sum.b / total};
    const double spread[3] = {kWeightR * (sum2.r - sum.r * box.mean.r),
                              kWeightG * (sum2.g - sum.g * box.mean.g),
                              kWeightB * (sum2.b - sum.b * box.mean.b)};
    box.error = spread[0] + spread[1] + spread[2];
    box.axis = int(std::max_element(spread, spread + 3) - spread);
    return box;
}

double channel(Rgb c, int axis) {
    return axis == 0 ? c.r : axis == 1 ? c.g : c.b;
}

// Variance-driven median cut: always split the box that holds the most error, at the weighted
// median of its widest channel.
std::vector<Rgb> medianCut(const std::vector<Sample>& samples, std::size_t count) {
    std::vector<std::size_t> all(samples.size());
    std::iota(all.begin(), all.end(), 0);
    std::vector<Box> boxes{makeBox(samples, std::move(all))};
    while (boxes.size() < count) {
        auto worst = boxes.end();
        for (auto it = boxes.begin(); it != boxes.end(); ++it)
            if (it->members.size() > 1 && (worst == boxes.end() || it->error > worst->error))
                worst = it;
        if (worst == boxes.end() || worst->error <= 0)
            break;
        std::vector<std::size_t> members = std::move(worst->members);
        const int axis = worst->axis;
        std::stable_sort(members.begin(), members.end(), [&](std::size_t a, std::size_t b) {
            return channel(samples[a].colour, axis) < channel(samples[b].colour, axis);
        });
        double total = 0;
        for (const std::size_t i : members)
            total += samples[i].weight;
        std::size_t cut = 1;
        for (double seen = 0; cut < members.size() - 1; ++cut) {
            seen += samples[members[cut - 1]].weight;
            if (seen >= total / 2)
                break;
        }
        std::vector<std::size_t> upper(members.begin() + std::ptrdiff_t(cut), members.end());
        members.resize(cut);
        *worst = makeBox(samples, std::move(members));
        boxes.push_back(makeBox(samples, std::move(upper)));
    }
    std::vector<Rgb> means;
    for (const Box& box : boxes)
        means.push_back(box.mean);
    return means;
}

std::size_t nearest(const std::vector<Rgb>& palette, Rgb colour) {
    std::size_t best = 0;
    double bestDistance = distance2(palette[0], colour);
    for (std::size_t i = 1; i < palette.size(); ++i) {
        const double d = distance2(palette[i], colour);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

// A palette of `size` colours for the samples. The `fixed` colours come first and stay exact
// (the black ground, the toolbar's button-face greys); the rest are found by median cut and
// polished by a few rounds of k-means.
std::vector<QRgb> choosePalette(const std::vector<Sample>& samples, std::size_t size,
                                const std::vector<QRgb>& fixed) {
    std::vector<Rgb> palette;
    for (const QRgb c : fixed)
        palette.push_back(toRgb(c));
    for (const Rgb& c : medianCut(samples, size - fixed.size()))
        palette.push_back(c);
    for (int round = 0; round < 12; ++round) {
        std::vector<Rgb> sums(palette.size());
        std::vector<double> weights(palette.size());
        for (const Sample& s : samples) {
            const std::size_t i = nearest(palette, s.colour);
            sums[i].r += s.weight * s.colour.r;
            sums[i].g += s.weight * s.colour.g;
            sums[i].b += s.weight * s.colour.b;
            weights[i] += s.weight;
        }
        for (std::size_t i = fixed.size(); i < palette.size(); ++i)
            if (weights[i] > 0)
                palette[i] = {sums[i].r / weights[i], sums[i].g / weights[i],
                              sums[i].b / weights[i]};
    }
    std::vector<QRgb> result;
    for (const Rgb& c : palette)
        result.push_back(toQRgb(c));
    while (result.size() < size) // fewer distinct colours than entries: pad with black
        result.push_back(qRgb(0, 0, 0));
    return result;
}

struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<QRgb> palette;
    std::vector<std::uint8_t> pixels; // row by row, top row first
    std::uint8_t at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
};

// Maps every pixel to its nearest palette entry. `dither` > 0 spreads the error to the
// neighbours (Floyd-Steinberg, serpentine), which hides banding in the soft glows.
IndexedImage reduce(const QImage& image, const std::vector<QRgb>& palette, double dither) {
    IndexedImage result;
    result.width = image.width();
    result.height = image.height();
    result.palette = palette;
    result.pixels.resize(std::size_t(result.width) * result.height);
    std::vector<Rgb> entries;
    for (const QRgb c : palette)
        entries.push_back(toRgb(c));
    std::unordered_map<QRgb, std::uint8_t> cache;
    std::vector<Rgb> error(std::size_t(result.width + 2) * 2);
    const auto errorAt = [&](int row, int x) -> Rgb& {
        return error[std::size_t(row & 1) * (result.width + 2) + std::size_t(x + 1)];
    };
    for (int y = 0; y < result.height; ++y) {
        for (int x = -1; x <= result.width; ++x)
            errorAt(y + 1, x) = {};
        const bool leftToRight = (y % 2) == 0;
        for (int step = 0; step < result.width; ++step) {
            const int x = leftToRight ? step : result.width - 1 - step;
            const int dir = leftToRight ? 1 : -1;
            const Rgb original = toRgb(image.pixel(x, y));
            const Rgb& e = errorAt(y, x);
            const Rgb wanted{original.r + e.r, original.g + e.g, original.b + e.b};
            const QRgb key = toQRgb(wanted);
            auto found = cache.find(key);
            if (found == cache.end())
                found = cache.emplace(key, std::uint8_t(nearest(entries, toRgb(key)))).first;
            const std::uint8_t index = found->second;
            result.pixels[std::size_t(y) * result.width + x] = index;
            if (dither <= 0)
                continue;
            const Rgb& got = entries[index];
            const Rgb diff{(wanted.r - got.r) * dither, (wanted.g - got.g) * dither,
                           (wanted.b - got.b) * dither};
            const auto spread = [&](int row, int column, double share) {
                Rgb& target = errorAt(row, column);
                target.r += diff.r * share;
                target.g += diff.g * share;
                target.b += diff.b * share;
            };
            spread(y, x + dir, 7.0 / 16);
            spread(y + 1, x - dir, 3.0 / 16);
            spread(y + 1, x, 5.0 / 16);
            spread(y + 1, x + dir, 1.0 / 16);
        }
    }
    return result;
}

// ---------------------------------------------------------------------------------------------
// File writers

class Bytes {
public:
    void u8(unsigned v) { m_data.append(char(v & 0xff)); }
    void u16(unsigned v) {
        u8(v);
        u8(v >> 8);
    }
    void u32(std::uint32_t v) {
        u16(v & 0xffff);
        u16(v >> 16);
    }
    void s32(std::int32_t v) { u32(std::uint32_t(v)); }
    void append(const QByteArray& more) { m_data.append(more); }
    const QByteArray& data() const { return m_data; }

private:
    QByteArray m_data;
};

int rowStride(int width, int bitsPerPixel) {
    return ((width * bitsPerPixel + 31) / 32) * 4;
}

// One bottom-up row of `bits` per pixel, padded to four bytes, as BMP and ICO store it.
QByteArray packRow(int width, int bits, const std::function<unsigned(int)>& value) {
    QByteArray row(rowStride(width, bits), '\0');
    for (int x = 0; x < width; ++x) {
        const int bit = x * bits;
        const int shift = 8 - bits - (bit % 8);
        row[bit / 8] = char(row[bit / 8] | char(value(x) << shift));
    }
    return row;
}

QByteArray packPixels(const IndexedImage& image, int bits) {
    QByteArray pixels;
    for (int y = image.height - 1; y >= 0; --y)
        pixels.append(packRow(image.width, bits, [&](int x) { return unsigned(image.at(x, y)); }));
    return pixels;
}

void putInfoHeader(Bytes& b, int width, int height, int bits, std::uint32_t imageBytes,
                   std::uint32_t colours) {
    b.u32(40);
    b.s32(width);
    b.s32(height);
    b.u16(1);
    b.u16(unsigned(bits));
    b.u32(0); // BI_RGB: uncompressed
    b.u32(imageBytes);
    b.s32(2835); // 72 dpi
    b.s32(2835);
    b.u32(colours);
    b.u32(0);
}

void putPalette(Bytes& b, const std::vector<QRgb>& palette) {
    for (const QRgb c : palette) {
        b.u8(unsigned(qBlue(c)));
        b.u8(unsigned(qGreen(c)));
        b.u8(unsigned(qRed(c)));
        b.u8(0);
    }
}

bool save(const QString& path, const QByteArray& data) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        out() << "cannot write " << path << ": " << file.errorString() << Qt::endl;
        return false;
    }
    return true;
}

bool writeBmp(const QString& path, const IndexedImage& image, int bits) {
    const std::uint32_t colours = 1u << bits;
    Q_ASSERT(image.palette.size() == colours);
    const QByteArray pixels = packPixels(image, bits);
    const std::uint32_t offset = 14 + 40 + colours * 4;
    Bytes b;
    b.u8('B');
    b.u8('M');
    b.u32(offset + std::uint32_t(pixels.size()));
    b.u32(0);
    b.u32(offset);
    putInfoHeader(b, image.width, image.height, bits, std::uint32_t(pixels.size()), colours);
    putPalette(b, image.palette);
    b.append(pixels);
    return save(path, b.data());
}

// An icon file with one 4-bit image; `transparent` marks the pixels the AND mask lets through.
bool writeIco(const QString& path, const IndexedImage& image,
              const std::vector<bool>& transparent) {
    Q_ASSERT(image.palette.size() == 16);
    const QByteArray colourBits = packPixels(image, 4);
    QByteArray maskBits;
    for (int y = image.height - 1; y >= 0; --y)
        maskBits.append(packRow(image.width, 1, [&](int x) {
            return transparent[std::size_t(y) * image.width + x] ? 1u : 0u;
        }));
    Bytes dib;
    // The height counts the colour bits and the mask together.
    putInfoHeader(dib, image.width, image.height * 2, 4,
                  std::uint32_t(colourBits.size() + maskBits.size()), 16);
    putPalette(dib, image.palette);
    dib.append(colourBits);
    dib.append(maskBits);

    Bytes b;
    b.u16(0);
    b.u16(1); // icon
    b.u16(1); // one image
    b.u8(unsigned(image.width));
    b.u8(unsigned(image.height));
    b.u8(16);
    b.u8(0);
    b.u16(1);
    b.u16(4);
    b.u32(std::uint32_t(dib.data().size()));
    b.u32(6 + 16);
    b.append(dib.data());
    return save(path, b.data());
}

// ---------------------------------------------------------------------------------------------
// Drawing: the verbena cluster

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

double dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Vec3 normalised(Vec3 v) {
    const double length = std::sqrt(dot(v, v));
    return {v.x / length, v.y / length, v.z / length};
}

QColor mix(const QColor& a, const QColor& b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t),
                            float(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

// One petal along +x from the floret's centre, with the shallow notch at its tip that verbena
// petals have.
QPainterPath petalPath(double r) {
    QPainterPath path;
    path.moveTo(0, 0);
    path.cubicTo(0.30 * r, -0.40 * r, 0.92 * r, -0.58 * r, 1.00 * r, -0.16 * r);
    path.quadTo(0.93 * r, -0.02 * r, 0.88 * r, 0);
    path.quadTo(0.93 * r, 0.02 * r, 1.00 * r, 0.16 * r);
    path.cubicTo(0.92 * r, 0.58 * r, 0.30 * r, 0.40 * r, 0, 0);
    return path;
}

struct Floret {
    QPointF centre;
    double radius = 0;
    double spin = 0;        // degrees
    double facing = 1;      // cosine between the floret's face and the view
    double tilt = 0;        // screen direction of the face's normal, degrees
    QColor colour;          // petal colour, lighting applied
    double depth = 0;       // towards the viewer; larger is drawn later
    double edgeWidth = 0.6; // outline of the petals, in pixels
};

void drawFloret(QPainter& p, const Floret& f) {
    p.save();
    p.translate(f.centre);
    p.rotate(f.tilt);
    // Foreshortened, but less than true perspective: edge-on florets would read as slivers.
    p.scale(0.45 + 0.55 * std::max(f.facing, 0.0), 1.0);
    p.rotate(f.spin);
    const QPainterPath petal = petalPath(f.radius);
    QRadialGradient fill(QPointF(0, 0), f.radius);
    fill.setColorAt(0.0, f.colour.lighter(135));
    fill.setColorAt(0.55, f.colour);
    fill.setColorAt(1.0, f.colour.darker(118));
    p.setBrush(fill);
    p.setPen(QPen(f.colour.darker(175), f.edgeWidth));
    for (int i = 0; i < 5; ++i) {
        p.drawPath(petal);
        p.rotate(72);
    }
    // The pale eye and the dark throat at its heart.
    p.setPen(Qt::NoPen);
    p.setBrush(mix(f.colour, QColor(250, 244, 255), 0.75));
    p.drawEllipse(QPointF(0, 0), 0.22 * f.radius, 0.22 * f.radius);
    p.setBrush(f.colour.darker(260));
    p.drawEllipse(QPointF(0, 0), 0.085 * f.radius, 0.085 * f.radius);
    p.restore();
}

struct ClusterStyle {
    int florets = 40;
    double floretScale = 0.27; // floret radius relative to the dome's
    double domeHeight = 0.78;  // dome height relative to its radius
    double hue = 0.755;        // violet
    double hueJitter = 0.018;
    double edgeWidth = 0.6;
    std::uint32_t seed = 7;
};

// A dome of five-petal florets, seen a little from above and lit from the upper left. The
// florets sit on the dome's surface, foreshortened by its curve, back ones first.
void drawCluster(QPainter& p, QPointF centre, double radius, const ClusterStyle& style) {
    const double viewTilt = 20.0 * kPi / 180;
    const Vec3 view{0, std::sin(viewTilt), std::cos(viewTilt)};
    const Vec3 up{0, std::cos(viewTilt), -std::sin(viewTilt)};
    const Vec3 light = normalised({-0.55, 0.75, 0.55});
    const double maxPolar = 100.0 * kPi / 180;
    const double golden = kPi * (3 - std::sqrt(5.0));
    Noise noise(style.seed);

    std::vector<Floret> florets;
    for (int i = 0; i < style.florets; ++i) {
        const double t = (i + 0.5) / style.florets;
        const double polar = std::acos(1 - t * (1 - std::cos(maxPolar)));
        const double around = i * golden + 0.4;
        const Vec3 onDome{std::sin(polar) * std::cos(around), std::cos(polar) * style.domeHeight,
                          std::sin(polar) * std::sin(around)};
        const Vec3 normal =
            normalised({onDome.x, onDome.y / (style.domeHeight * style.domeHeight), onDome.z});
        Floret f;
        f.facing = dot(normal, view);
        if (f.facing < 0.08)
            continue;
        f.centre = centre + QPointF(radius * onDome.x, -radius * dot(onDome, up));
        f.depth = dot(onDome, view);
        f.tilt = std::atan2(-dot(normal, up), normal.x) * 180 / kPi;
        f.spin = noise.between(0, 72);
        f.radius = radius * style.floretScale * noise.between(0.92, 1.06);
        f.edgeWidth = style.edgeWidth;
        const double lit = std::max(0.0, dot(normal, light));
        const double hue = style.hue + noise.between(-style.hueJitter, style.hueJitter);
        const double value = std::clamp(0.42 + 0.55 * lit, 0.0, 1.0);
        const double saturation = std::clamp(0.72 - 0.18 * lit, 0.0, 1.0);
        f.colour = QColor::fromHsvF(float(hue), float(saturation), float(value));
        florets.push_back(f);
    }
    std::stable_sort(florets.begin(), florets.end(),
                     [](const Floret& a, const Floret& b) { return a.depth < b.depth; });
    for (const Floret& f : florets)
        drawFloret(p, f);
}

// A narrow, lance-shaped verbena leaf from `base` towards `angle` (degrees, screen).
void drawLeaf(QPainter& p, QPointF base, double length, double angle, const QColor& colour) {
    p.save();
    p.translate(base);
    p.rotate(angle);
    const double w = length * 0.17;
    QPainterPath leaf;
    leaf.moveTo(0, 0);
    leaf.cubicTo(length * 0.25, -w * 1.3, length * 0.7, -w * 1.1, length, 0);
    leaf.cubicTo(length * 0.7, w * 0.9, length * 0.25, w * 1.1, 0, 0);
    QLinearGradient g(0, -w, 0, w);
    g.setColorAt(0, colour.lighter(130));
    g.setColorAt(1, colour.darker(130));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(leaf);
    p.setPen(QPen(colour.darker(170), std::max(0.6, length * 0.02)));
    p.drawLine(QPointF(length * 0.05, 0), QPointF(length * 0.85, 0));
    p.restore();
}

void drawStem(QPainter& p, const QPainterPath& path, double width, const QColor& colour) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour.darker(150), width + 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(path);
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(path);
}

// ---------------------------------------------------------------------------------------------
// Drawing: sound and discs

// A mirrored bar waveform, as an audio editor shows a few phrases of music.
void drawWaveform(QPainter& p, const QRectF& area, const QColor& from, const QColor& to,
                  std::uint32_t seed) {
    Noise noise(seed);
    const double pitch = 4.0;
    const double barWidth = 2.4;
    const int bars = int(area.width() / pitch);
    const double onsets[] = {0.0, 0.17, 0.31, 0.52, 0.66, 0.83};
    QLinearGradient g(area.left(), 0, area.right(), 0);
    g.setColorAt(0, from);
    g.setColorAt(1, to);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    for (int i = 0; i < bars; ++i) {
        const double t = (i + 0.5) / bars;
        double level = 0;
        for (const double onset : onsets)
            if (t >= onset)
                level = std::max(level, std::exp(-(t - onset) * 9.0));
        const double taper = std::pow(std::sin(kPi * t), 0.7);
        const double amplitude = taper * (0.25 + 0.75 * level) * noise.between(0.55, 1.0);
        const double half = std::max(1.0, amplitude * area.height() / 2);
        const double x = area.left() + i * pitch + (pitch - barWidth) / 2;
        p.drawRoundedRect(QRectF(x, area.center().y() - half, barWidth, 2 * half), barWidth / 2,
                          barWidth / 2);
    }
}

enum class DiscLook {
    Silver, // a disc in daylight: a silver face with soft rainbow tints
    Dark,   // a disc in the dark: a black mirror caught by two rainbow streaks
};

QPainterPath ring(QPointF centre, double outer, double inner) {
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    path.addEllipse(centre, outer, outer);
    path.addEllipse(centre, inner, inner);
    return path;
}

// A compact disc. Its centre hole is a real hole: whatever lies behind shows through.
void drawDisc(QPainter& p, QPointF centre, double radius, DiscLook look, double outline) {
    const double hole = radius * 0.14;
    QConicalGradient sheen(centre, 35);
    QColor rim, clearRing, mirrorBand;
    if (look == DiscLook::Silver) {
        const QColor silver(205, 208, 218), lilac(190, 160, 235), cyan(150, 215, 235),
            rose(235, 170, 215), pale(240, 236, 215);
        const std::pair<double, QColor> stops[] = {
            {0.00, silver}, {0.08, cyan},   {0.16, lilac},
            {0.24, rose},   {0.32, silver}, {0.50, silver.darker(112)},
            {0.58, pale},   {0.66, cyan},   {0.74, lilac},
            {0.82, rose},   {0.90, silver}, {1.00, silver}};
        for (const auto& [at, colour] : stops)
            sheen.setColorAt(at, colour);
        rim = QColor(120, 120, 135);
        clearRing = QColor(226, 228, 236);
        mirrorBand = QColor(236, 238, 244);
    } else {
        const QColor base(22, 20, 34), violet(120, 80, 210), cyan(70, 170, 220),
            green(110, 200, 150), gold(230, 200, 110), rose(220, 100, 170);
        const std::pair<double, QColor> stops[] = {{0.00, base},
                                                   {0.05, violet},
                                                   {0.09, cyan},
                                                   {0.12, green},
                                                   {0.15, gold},
                                                   {0.19, rose},
                                                   {0.26, base},
                                                   {0.50, base},
                                                   {0.55, violet.darker(140)},
                                                   {0.59, cyan.darker(140)},
                                                   {0.62, gold.darker(150)},
                                                   {0.66, rose.darker(150)},
                                                   {0.73, base},
                                                   {1.00, base}};
        for (const auto& [at, colour] : stops)
            sheen.setColorAt(at, colour);
        rim = QColor(120, 105, 160);
        clearRing = QColor(36, 34, 50);
        mirrorBand = QColor(58, 55, 76);
    }
    p.setPen(outline > 0 ? QPen(rim, outline) : QPen(Qt::NoPen));
    p.setBrush(sheen);
    p.drawPath(ring(centre, radius, hole));
    if (look == DiscLook::Dark) {
        // The faint edge of the data area and of the lead-in.
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(255, 255, 255, 28), 1));
        p.drawEllipse(centre, radius * 0.96, radius * 0.96);
        p.drawEllipse(centre, radius * 0.42, radius * 0.42);
    }
    // The clear plastic ring round the hub, and the hub's mirror band.
    p.setPen(Qt::NoPen);
    p.setBrush(clearRing);
    p.drawPath(ring(centre, radius * 0.36, hole));
    p.setPen(outline > 0 ? QPen(rim.lighter(115), outline) : QPen(Qt::NoPen));
    p.setBrush(mirrorBand);
    p.drawPath(ring(centre, radius * 0.27, hole));
}

// ---------------------------------------------------------------------------------------------
// Drawing: text

QFont font(const QString& family, double pixels, int weight, double spacing = 0) {
    QFont f(family);
    f.setPixelSize(int(pixels));
    f.setWeight(QFont::Weight(weight));
    f.setHintingPreference(QFont::PreferNoHinting);
    if (spacing != 0)
        f.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    return f;
}

QPainterPath textPath(const QString& text, const QFont& f, QPointF baseline) {
    QPainterPath path;
    path.addText(baseline, f, text);
    return path;
}

double textWidth(const QString& text, const QFont& f) {
    return textPath(text, f, QPointF(0, 0)).boundingRect().right();
}

// The largest size of the font at which `text` is at most `width` pixels wide.
QFont fitted(const QString& text, const QString& family, int weight, double spacing, double width) {
    double pixels = 200;
    while (pixels > 6 && textWidth(text, font(family, pixels, weight, spacing)) > width)
        pixels -= 1;
    return font(family, pixels, weight, spacing);
}

// ---------------------------------------------------------------------------------------------
// The pictures

const QColor kLeafGreen(62, 138, 70);
const QColor kStemGreen(70, 150, 78);

QImage canvas(int width, int height, const QColor& ground) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(ground);
    return image;
}

// The logo: a verbena cluster on its stem with a pair of leaves.
void drawLogo(QPainter& p, QPointF dome, double radius, double stemBottom, std::uint32_t seed) {
    QPainterPath stem;
    stem.moveTo(dome + QPointF(0, radius * 0.2));
    stem.cubicTo(dome + QPointF(-radius * 0.05, radius * 0.9),
                 dome + QPointF(radius * 0.20, radius * 1.5),
                 QPointF(dome.x() + radius * 0.02, stemBottom));
    drawStem(p, stem, std::max(1.6, radius * 0.055), kStemGreen);
    const QPointF node = stem.pointAtPercent(0.55);
    drawLeaf(p, node, radius * 0.95, -28, kLeafGreen);
    drawLeaf(p, node + QPointF(0, radius * 0.04), radius * 0.85, 200, kLeafGreen.darker(110));
    ClusterStyle style;
    style.seed = seed;
    drawCluster(p, dome, radius, style);
}

// "Verbeno" in white fading to lavender, fitted to `width`; returns the width it takes.
double drawTitle(QPainter& p, QPointF baseline, double width) {
    const QFont title = fitted("Verbeno", "DejaVu Sans", QFont::Bold, -1.0, width);
    const QPainterPath path = textPath("Verbeno", title, baseline);
    QLinearGradient fill(0, path.boundingRect().top(), 0, baseline.y());
    fill.setColorAt(0, QColor(255, 255, 255));
    fill.setColorAt(1, QColor(206, 186, 250));
    p.fillPath(path, fill);
    return path.boundingRect().right() - baseline.x();
}

const QColor kWaveFrom(150, 90, 235);
const QColor kWaveTo(235, 120, 200);

QImage drawBackground() {
    QImage image = canvas(500, 300, Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // A faint violet glow behind the flower, so that the dome does not float in a void.
    QRadialGradient glow(QPointF(128, 128), 150);
    glow.setColorAt(0, QColor(70, 30, 110, 150));
    glow.setColorAt(0.5, QColor(35, 12, 60, 70));
    glow.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(image.rect(), glow);

    drawLogo(p, QPointF(128, 128), 76, 300, 7);

    const QPointF titleAt(226, 160);
    const double titleWidth = drawTitle(p, titleAt, 250);
    drawWaveform(p, QRectF(titleAt.x() + 2, 180, titleWidth - 4, 38), kWaveFrom, kWaveTo, 11);
    const QFont tagline = font("DejaVu Sans", 14, QFont::Normal, 0.5);
    p.fillPath(textPath("MP3 encoder and CD ripper", tagline, QPointF(titleAt.x() + 3, 244)),
               QColor(175, 165, 200));
    return image;
}

QImage drawSplash() {
    QImage image = canvas(500, 300, Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QRadialGradient glow(QPointF(150, 150), 280);
    glow.setColorAt(0, QColor(52, 20, 84));
    glow.setColorAt(0.6, QColor(16, 5, 30));
    glow.setColorAt(1, QColor(0, 0, 0));
    p.fillRect(image.rect(), glow);

    const QPointF discAt(168, 116);
    drawDisc(p, discAt, 98, DiscLook::Dark, 1.0);
    drawLogo(p, QPointF(104, 178), 60, 300, 19);

    const QPointF titleAt(282, 134);
    const double titleWidth = drawTitle(p, titleAt, 196);
    const QFont tagline =
        fitted("MP3 encoder and CD ripper", "DejaVu Sans", QFont::Normal, 0.2, titleWidth);
    p.fillPath(textPath("MP3 encoder and CD ripper", tagline, QPointF(titleAt.x() + 1, 158)),
               QColor(200, 190, 225));
    drawWaveform(p, QRectF(titleAt.x() + 1, 172, titleWidth - 2, 28), kWaveFrom, kWaveTo, 23);

    const QFont version = font("DejaVu Sans", 12, QFont::Normal, 0.3);
    const QString versionText = "Version 1.0";
    p.fillPath(textPath(versionText, version,
                        QPointF(titleAt.x() + titleWidth - textWidth(versionText, version), 276)),
               QColor(150, 140, 175));

    // A hairline frame: the splash window has no border of its own.
    p.setPen(QPen(QColor(96, 60, 140), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, 499, 299));
    return image;
}

const QColor kButtonFace(192, 192, 192);

void drawToolbarDisc(QPainter& p) {
    drawDisc(p, QPointF(30, 25), 21.5, DiscLook::Silver, 1.0);
}

void drawToolbarNote(QPainter& p) {
    // Two beamed quavers.
    const QColor ink(40, 20, 70);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    const auto head = [&](QPointF at) {
        p.save();
        p.translate(at);
        p.rotate(-22);
        p.drawEllipse(QPointF(0, 0), 5.2, 3.7);
        p.restore();
    };
    head(QPointF(12.5, 38));
    head(QPointF(30.5, 34));
    p.drawRect(QRectF(15.6, 12, 2.2, 26));
    p.drawRect(QRectF(33.6, 8, 2.2, 26));
    QPainterPath beam;
    beam.moveTo(15.6, 12);
    beam.lineTo(35.8, 8);
    beam.lineTo(35.8, 14);
    beam.lineTo(15.6, 18);
    beam.closeSubpath();
    p.drawPath(beam);
    // Sound spreading to the right.
    p.setBrush(Qt::NoBrush);
    const QColor waves[] = {QColor(60, 110, 210), QColor(120, 80, 200), QColor(170, 120, 230)};
    for (int i = 0; i < 3; ++i) {
        p.setPen(QPen(waves[i], 2.2, Qt::SolidLine, Qt::RoundCap));
        const double r = 6 + i * 5.5;
        p.drawArc(QRectF(38 - r, 24 - r, 2 * r, 2 * r), -50 * 16, 100 * 16);
    }
}

void drawToolbarLaptop(QPainter& p) {
    // The lid with its screen.
    p.setPen(QPen(QColor(40, 40, 48), 1));
    p.setBrush(QColor(90, 90, 100));
    p.drawRoundedRect(QRectF(12.5, 5.5, 35, 27), 2, 2);
    QLinearGradient screen(0, 8, 0, 30);
    screen.setColorAt(0, QColor(60, 110, 210));
    screen.setColorAt(1, QColor(30, 40, 120));
    p.setPen(Qt::NoPen);
    p.setBrush(screen);
    p.drawRect(QRectF(15, 8, 30, 22));
    // A little waveform on the screen.
    p.setBrush(QColor(205, 175, 240));
    const double heights[] = {2, 5, 9, 6, 11, 7, 4, 8, 5, 2};
    for (int i = 0; i < 10; ++i)
        p.drawRect(QRectF(17.5 + i * 2.6, 19 - heights[i] / 2, 1.6, heights[i]));
    // The keyboard half, seen from the front and a little above.
    QPainterPath base;
    base.moveTo(11, 33);
    base.lineTo(49, 33);
    base.lineTo(56, 41);
    base.lineTo(4, 41);
    base.closeSubpath();
    p.setPen(QPen(QColor(60, 60, 70), 1));
    p.setBrush(QColor(225, 225, 230));
    p.drawPath(base);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(128, 128, 128));
    for (int row = 0; row < 2; ++row)
        for (int key = 0; key < 9; ++key) {
            const double y = 35 + row * 2.6;
            const double inset = 12 - row * 2.2 - 0.5;
            const double span = 60 - 2 * inset;
            p.drawRect(QRectF(inset + key * span / 9 + 0.6, y, span / 9 - 1.4, 1.4));
        }
    p.setBrush(QColor(90, 90, 100));
    p.drawRect(QRectF(4, 41, 52, 2));
}

void drawToolbarQuestion(QPainter& p) {
    const auto mark = [&](double pixels, QPointF at, const QColor& colour) {
        const QFont f = font("DejaVu Sans", pixels, QFont::Black);
        const QPainterPath path = textPath("?", f, at);
        p.setPen(QPen(colour.darker(200), 1.0));
        p.setBrush(colour);
        p.drawPath(path);
    };
    mark(24, QPointF(35, 30), QColor(60, 110, 210));
    mark(40, QPointF(12, 44), QColor(120, 60, 190));
}

QImage drawToolbar() {
    QImage image = canvas(240, 50, kButtonFace);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const std::function<void(QPainter&)> buttons[] = {drawToolbarDisc, drawToolbarNote,
                                                      drawToolbarLaptop, drawToolbarQuestion};
    for (int i = 0; i < 4; ++i) {
        p.save();
        p.setClipRect(QRect(i * 60, 0, 60, 50));
        p.translate(i * 60, 0);
        buttons[i](p);
        p.restore();
    }
    return image;
}

const QColor kIconEye(255, 246, 200);

// The program icon: the verbena cluster and its stem in front of a compact disc. At 32 pixels
// the dome is a handful of large, flat florets, which stay legible in 16 colours; larger
// sizes get the full dome.
QImage drawIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    const bool small = size < 64;
    drawDisc(p, QPointF(20, 12), 11.5, DiscLook::Silver, small ? 0.9 : 0.4);
    QPainterPath stem;
    stem.moveTo(11, 17);
    stem.cubicTo(10.5, 22, 12.5, 26, 11.5, 31.5);
    drawStem(p, stem, small ? 1.5 : 1.3, kStemGreen);
    drawLeaf(p, QPointF(11.6, 25), 8.5, -32, kLeafGreen);
    if (!small) {
        ClusterStyle style;
        style.florets = 26;
        style.floretScale = 0.33;
        style.edgeWidth = 0.25;
        style.seed = 5;
        drawCluster(p, QPointF(11.5, 16), 10.5, style);
        return image;
    }
    // Back row first, darker; the front row catches the light. Round petals and a bold eye
    // are what still reads as a floret at this size.
    struct Placed {
        QPointF at;
        double value;
    };
    const Placed placed[] = {{{7.0, 9.0}, 0.70},
                             {{14.8, 8.2}, 0.78},
                             {{4.6, 16.4}, 0.86},
                             {{11.4, 17.0}, 1.0},
                             {{18.0, 15.0}, 0.92}};
    double spin = -90;
    for (const Placed& at : placed) {
        const QColor petal = QColor::fromHsvF(0.76f, 0.55f, float(at.value));
        p.save();
        p.translate(at.at);
        p.rotate(spin);
        spin += 17;
        p.setPen(QPen(petal.darker(210), 0.7));
        p.setBrush(petal);
        for (int i = 0; i < 5; ++i) {
            p.drawEllipse(QPointF(2.55, 0), 1.95, 1.95);
            p.rotate(72);
        }
        p.setPen(Qt::NoPen);
        p.setBrush(petal.lighter(115));
        p.drawEllipse(QPointF(0, 0), 2.0, 2.0);
        p.setBrush(kIconEye);
        p.drawEllipse(QPointF(0, 0), 1.1, 1.1);
        p.restore();
    }
    return image;
}

// ---------------------------------------------------------------------------------------------
// Checks: read every file back through Qt, as the program will.

struct BmpHeader {
    int width = 0, height = 0, bits = 0, compression = -1, colours = 0;
};

std::optional<BmpHeader> readBmpHeader(const QByteArray& data, qsizetype at) {
    if (data.size() < at + 40)
        return std::nullopt;
    const auto byte = [&](qsizetype i) {
        return std::uint32_t(std::uint8_t(data.at(i)));
    };
    const auto u16 = [&](qsizetype i) {
        return int(byte(i) | byte(i + 1) << 8);
    };
    const auto s32 = [&](qsizetype i) {
        return std::int32_t(byte(i) | byte(i + 1) << 8 | byte(i + 2) << 16 | byte(i + 3) << 24);
    };
    return BmpHeader{s32(at + 4), s32(at + 8), u16(at + 14), s32(at + 16), s32(at + 32)};
}

bool check(bool ok, const QString& what) {
    out() << (ok ? "  ok    " : "  FAIL  ") << what << Qt::endl;
    return ok;
}

bool verifyBmp(const QString& path, int width, int height, int bits) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return check(false, path + " cannot be read");
    const QByteArray data = file.readAll();
    const auto header = readBmpHeader(data, 14);
    bool ok = check(data.startsWith("BM") && header, path + ": BMP file");
    if (!header)
        return false;
    ok &= check(header->width == width && header->height == height,
                QString("%1 x %2 pixels, bottom-up").arg(header->width).arg(header->height));
    ok &= check(header->bits == bits, QString("%1 bits per pixel").arg(header->bits));
    ok &= check(header->compression == 0, "uncompressed (BI_RGB)");
    ok &= check(header->colours == (1 << bits), QString("%1 palette colours").arg(header->colours));
    const QImage image(path);
    ok &= check(!image.isNull() && image.size() == QSize(width, height) &&
                    image.format() == QImage::Format_Indexed8 && image.colorCount() == (1 << bits),
                QString("Qt reads it: %1 x %2, indexed, %3 colours")
                    .arg(image.width())
                    .arg(image.height())
                    .arg(image.colorCount()));
    return ok;
}

bool verifyIco(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return check(false, path + " cannot be read");
    const QByteArray data = file.readAll();
    const auto header = readBmpHeader(data, 22);
    bool ok = check(data.size() > 22 && data.at(2) == 1 && data.at(4) == 1 && data.at(6) == 32 &&
                        data.at(7) == 32 && data.at(8) == 16,
                    path + ": icon file, one 32 x 32 image of 16 colours");
    ok &= check(header && header->bits == 4 && header->compression == 0,
                "4 bits per pixel, uncompressed");
    const QImage image(path);
    ok &= check(
        !image.isNull() && image.size() == QSize(32, 32) && image.hasAlphaChannel(),
        QString("Qt reads it: %1 x %2 with transparency").arg(image.width()).arg(image.height()));
    return ok;
}

bool verifyPng(const QString& path, int size) {
    const QImage image(path);
    return check(
        !image.isNull() && image.size() == QSize(size, size) && image.hasAlphaChannel(),
        path + QString(": Qt reads it: %1 x %2 with alpha").arg(image.width()).arg(image.height()));
}

// ---------------------------------------------------------------------------------------------

IndexedImage reduceTo256(const QImage& image) {
    const std::vector<QRgb> palette = choosePalette(histogram(image), 256, {qRgb(0, 0, 0)});
    return reduce(image, palette, 0.8);
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        out() << "usage: verbeno_artwork <folder to write the images to>" << Qt::endl;
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        out() << "cannot create " << folder.path() << Qt::endl;
        return 1;
    }
    const auto file = [&](const char* name) {
        return folder.filePath(name);
    };

    bool ok = writeBmp(file("background.bmp"), reduceTo256(drawBackground()), 8);
    ok &= writeBmp(file("splash.bmp"), reduceTo256(drawSplash()), 8);

    // The toolbar keeps the four greys that toolbars map to the system's button colours exact.
    const QImage toolbar = drawToolbar();
    const std::vector<QRgb> toolbarFixed = {qRgb(0, 0, 0), qRgb(128, 128, 128), qRgb(192, 192, 192),
                                            qRgb(255, 255, 255)};
    ok &= writeBmp(file("toolbar.bmp"),
                   reduce(toolbar, choosePalette(histogram(toolbar), 16, toolbarFixed), 0), 4);

    // The icon: pixels less than half covered become transparent; the rest share 15 colours,
    // and entry 0 stays black for the transparent ones, as icons have it. The florets' eyes
    // cover too few pixels to win a palette entry by count, so theirs is kept.
    const QImage icon = drawIcon(32).convertToFormat(QImage::Format_ARGB32);
    std::vector<bool> opaque(32 * 32), transparent(32 * 32);
    QImage flattened(32, 32, QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const QRgb c = icon.pixel(x, y);
            const std::size_t i = std::size_t(y) * 32 + x;
            opaque[i] = qAlpha(c) >= 128;
            transparent[i] = !opaque[i];
            flattened.setPixel(x, y, opaque[i] ? c : qRgb(0, 0, 0));
        }
    IndexedImage iconIndexed = reduce(
        flattened,
        choosePalette(histogram(flattened, &opaque), 16, {qRgb(0, 0, 0), kIconEye.rgb()}), 0);
    for (std::size_t i = 0; i < transparent.size(); ++i)
        if (transparent[i])
            iconIndexed.pixels[i] = 0;
    ok &= writeIco(file("verbeno.ico"), iconIndexed, transparent);
    ok &= drawIcon(128).convertToFormat(QImage::Format_ARGB32).save(file("verbeno.png"));
    if (!ok)
        return 1;

    out() << "Checking what was written:" << Qt::endl;
    ok &= verifyBmp(file("background.bmp"), 500, 300, 8);
    ok &= verifyBmp(file("splash.bmp"), 500, 300, 8);
    ok &= verifyBmp(file("toolbar.bmp"), 240, 50, 4);
    ok &= verifyIco(file("verbeno.ico"));
    ok &= verifyPng(file("verbeno.png"), 128);
    return ok ? 0 : 1;
}
