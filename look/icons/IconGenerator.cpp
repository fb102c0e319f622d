// Draws the program's embedded icons and writes them as PNG files:
//   IconGenerator <output folder> [--sheet <contact sheet.png>]
// The build runs it and embeds the files; the optional contact sheet shows every
// icon enlarged and at button size, on the button colours, for checking by eye.

#include <juce_graphics/juce_graphics.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

using namespace juce;

namespace
{
const Colour glyphTop(0xfff4f4f4);
const Colour glyphBottom(0xffd6d6d6);
const Colour midiGreen(0xff4fc45a);
const Colour brandOrange(0xffd38538);
const Colour brandBlue(0xff28436d);
const Colour buttonBody(0xff181818);

// Every action icon is a light shape with a soft dark edge below it, so that it
// reads on the dark button body and on the orange "on" colour alike.
void fillGlyph(Graphics& g, const Path& shape, Colour top = glyphTop, Colour bottom = glyphBottom)
{
    const auto bounds = shape.getBounds();

    Path shadow(shape);
    PathStrokeType(2.0f, PathStrokeType::curved, PathStrokeType::rounded)
        .createStrokedPath(shadow, shape);
    shadow.addPath(shape);
    g.setColour(Colours::black.withAlpha(0.35f));
    g.fillPath(shadow, AffineTransform::translation(0.0f, 1.0f));

    g.setGradientFill(
        ColourGradient(top, 0.0f, bounds.getY(), bottom, 0.0f, bounds.getBottom(), false));
    g.fillPath(shape);
}

Path stroked(const Path& centreLine, float width)
{
    Path outline;
    PathStrokeType(width, PathStrokeType::curved, PathStrokeType::rounded)
        .createStrokedPath(outline, centreLine);
    return outline;
}

Path triangle(Point<float> a, Point<float> b, Point<float> c, float rounding)
{
    Path p;
    p.addTriangle(a, b, c);
    return p.createPathWithRoundedCorners(rounding);
}

void drawPlay(Graphics& g)
{
    fillGlyph(g, triangle({15, 9}, {39, 24}, {15, 39}, 3.0f));
}

void drawPause(Graphics& g)
{
    Path p;
    p.addRoundedRectangle(12.0f, 10.0f, 9.0f, 28.0f, 2.5f);
    p.addRoundedRectangle(27.0f, 10.0f, 9.0f, 28.0f, 2.5f);
    fillGlyph(g, p);
}

void drawFirst(Graphics& g)
{
    Path p;
    p.addRoundedRectangle(10.0f, 10.0f, 6.5f, 28.0f, 2.0f);
    p.addPath(triangle({38, 10}, {18, 24}, {38, 38}, 3.0f));
    fillGlyph(g, p);
}

void drawNext(Graphics& g)
{
    Path p = triangle({10, 10}, {30, 24}, {10, 38}, 3.0f);
    p.addRoundedRectangle(31.5f, 10.0f, 6.5f, 28.0f, 2.0f);
    fillGlyph(g, p);
}

void drawStop(Graphics& g)
{
    Path p;
    p.addRoundedRectangle(11.0f, 11.0f, 26.0f, 26.0f, 4.0f);
    fillGlyph(g, p);
}

void drawAdd(Graphics& g)
{
    Path cross;
    cross.startNewSubPath(24.0f, 10.0f);
    cross.lineTo(24.0f, 38.0f);
    cross.startNewSubPath(10.0f, 24.0f);
    cross.lineTo(38.0f, 24.0f);
    fillGlyph(g, stroked(cross, 7.0f));
}

void drawClose(Graphics& g)
{
    Path x;
    x.startNewSubPath(13.0f, 13.0f);
    x.lineTo(35.0f, 35.0f);
    x.startNewSubPath(35.0f, 13.0f);
    x.lineTo(13.0f, 35.0f);
    fillGlyph(g, stroked(x, 7.0f));
}

void drawCopy(Graphics& g)
{
    const Rectangle<float> back(8.5f, 6.5f, 21.0f, 27.0f);
    const Rectangle<float> front(18.5f, 14.5f, 21.0f, 27.0f);

    // The back sheet shows only where the front one (and a small gap) does not cover it.
    {
        Graphics::ScopedSaveState state(g);
        g.excludeClipRegion(front.expanded(2.5f).getSmallestIntegerContainer());
        Path outline;
        outline.addRoundedRectangle(back, 3.0f);
        fillGlyph(g, stroked(outline, 3.5f));
    }

    Path sheet;
    sheet.addRoundedRectangle(front, 3.0f);
    fillGlyph(g, sheet);

    // Lines of "text" on the front sheet.
    Path lines;
    for (int i = 0; i < 3; ++i)
    {
        const float y = front.getY() + 8.0f + (float)i * 5.5f;
        lines.startNewSubPath(front.getX() + 5.0f, y);
        lines.lineTo(front.getRight() - (i == 2 ? 9.0f : 5.0f), y);
    }
    g.setColour(Colour(0xff8a8a8a));
    g.fillPath(stroked(lines, 2.0f));
}

void drawEdit(Graphics& g)
{
    // Built lying along the x axis, tip at the origin, then turned to point down-left.
    Path pencil;
    pencil.addTriangle(0.0f, 0.0f, 9.0f, -5.5f, 9.0f, 5.5f);
    pencil.addRectangle(10.5f, -5.5f, 19.0f, 11.0f);
    pencil.addRoundedRectangle(31.0f, -5.5f, 6.0f, 11.0f, 2.5f);

    const auto place =
        AffineTransform::rotation(-MathConstants<float>::pi * 0.25f).translated(9.5f, 38.5f);
    pencil.applyTransform(place);
    fillGlyph(g, pencil);

    // The graphite point.
    Path point;
    point.addTriangle(0.0f, 0.0f, 3.6f, -2.2f, 3.6f, 2.2f);
    point.applyTransform(place);
    g.setColour(Colour(0xff303030));
    g.fillPath(point);
}

void drawOk(Graphics& g)
{
    Path tick;
    tick.startNewSubPath(10.0f, 25.0f);
    tick.lineTo(20.0f, 35.0f);
    tick.lineTo(38.0f, 13.0f);
    fillGlyph(g, stroked(tick, 7.0f));
}

void drawRefresh(Graphics& g)
{
    const Point<float> centre(24.0f, 25.0f);
    const float radius = 12.5f;
    const float from = MathConstants<float>::pi * 0.35f;
    const float to = MathConstants<float>::pi * 1.78f;

    Path arc;
    arc.addCentredArc(centre.x, centre.y, radius, radius, 0.0f, from, to, true);
    Path shape = stroked(arc, 5.0f);

    // Arrow head at the end of the arc, pointing on round the circle (clockwise).
    const Point<float> end(centre.x + radius * std::sin(to), centre.y - radius * std::cos(to));
    const Point<float> along(std::cos(to), std::sin(to));
    const Point<float> across(-along.y, along.x);
    shape.addPath(triangle(end + along * 7.5f, end + across * 7.5f - along * 1.5f,
                           end - across * 7.5f - along * 1.5f, 1.5f));
    fillGlyph(g, shape);
}

void drawMidi(Graphics& g)
{
    const Point<float> centre(24.0f, 24.0f);
    Path socket;
    socket.addEllipse(centre.x - 17.0f, centre.y - 17.0f, 34.0f, 34.0f);
    Path shape = stroked(socket, 4.0f);

    // Five pins on a half circle over the centre, and the key notch below.
    for (int i = 0; i < 5; ++i)
    {
        const float angle = MathConstants<float>::pi * (-0.5f + 0.25f * (float)i);
        const Point<float> pin(centre.x + 9.5f * std::sin(angle),
                               centre.y - 9.5f * std::cos(angle));
        shape.addEllipse(pin.x - 2.8f, pin.y - 2.8f, 5.6f, 5.6f);
    }
    shape.addRoundedRectangle(centre.x - 3.5f, centre.y + 9.5f, 7.0f, 6.0f, 1.0f);

    fillGlyph(g, shape, midiGreen.brighter(0.25f), midiGreen.darker(0.15f));
}

void drawProgramIcon(Graphics& g)
{
    const Rectangle<float> tile(12.0f, 12.0f, 232.0f, 232.0f);
    Path tilePath;
    tilePath.addRoundedRectangle(tile, 48.0f);

    // Night-blue stage.
    g.setGradientFill(ColourGradient(brandBlue.brighter(0.35f), 0.0f, tile.getY(),
                                     brandBlue.darker(0.6f), 0.0f, tile.getBottom(), false));
    g.fillPath(tilePath);

    Graphics::ScopedSaveState clip(g);
    g.reduceClipRegion(tilePath);

    // The beam of a spotlight hanging above, widening down to the floor.
    const Point<float> lamp(128.0f, 50.0f);
    Path beam;
    beam.startNewSubPath(lamp.x - 14.0f, lamp.y + 8.0f);
    beam.lineTo(lamp.x + 14.0f, lamp.y + 8.0f);
    beam.lineTo(214.0f, 204.0f);
    beam.lineTo(42.0f, 204.0f);
    beam.closeSubPath();
    g.setGradientFill(ColourGradient(brandOrange.withAlpha(0.85f), 0.0f, lamp.y,
                                     brandOrange.withAlpha(0.12f), 0.0f, 204.0f, false));
    g.fillPath(beam);

    // The pool of light on the floor.
    g.setGradientFill(ColourGradient(brandOrange.brighter(0.4f).withAlpha(0.7f), 128.0f, 200.0f,
                                     brandOrange.withAlpha(0.0f), 216.0f, 200.0f, true));
    g.fillEllipse(36.0f, 186.0f, 184.0f, 30.0f);

    // The lamp: a housing with its lens facing down.
    Path housing;
    housing.addRoundedRectangle(lamp.x - 22.0f, lamp.y - 30.0f, 44.0f, 34.0f, 10.0f);
    g.setColour(Colour(0xff101a2c));
    g.fillPath(housing);
    g.setColour(brandOrange.brighter(0.2f));
    g.strokePath(housing, PathStrokeType(3.0f));
    g.setGradientFill(
        ColourGradient(Colours::white, lamp.x, lamp.y, brandOrange, lamp.x + 18.0f, lamp.y, true));
    g.fillEllipse(lamp.x - 16.0f, lamp.y - 3.0f, 32.0f, 12.0f);
    g.setColour(Colour(0xff101a2c));
    g.fillRect(lamp.x - 2.0f, 12.0f, 4.0f, lamp.y - 42.0f);

    // A waveform across the stage, lit where the beam falls on it.
    const float baseY = 150.0f;
    for (int i = 0; i < 19; ++i)
    {
        const float x = 38.0f + (float)i * 10.0f;
        const float t = (float)i / 18.0f;
        const float envelope = 0.25f + 0.75f * std::sin(t * MathConstants<float>::pi);
        const float wobble = 0.55f + 0.45f * std::abs(std::sin((float)i * 1.9f + 0.6f));
        const float half = 4.0f + 34.0f * envelope * wobble;
        const bool lit = std::abs(x + 3.0f - 128.0f) < 40.0f;
        g.setColour(lit ? Colours::white : Colour(0xffc9d6ea));
        g.fillRoundedRectangle(x, baseY - half, 6.0f, half * 2.0f, 3.0f);
    }

    // A thin rim so the tile stands out on dark and light docks alike.
    g.setColour(Colours::white.withAlpha(0.25f));
    g.strokePath(tilePath, PathStrokeType(3.0f));
}

struct Icon
{
    const char* fileName;
    int size;
    std::function<void(Graphics&)> draw;
};

const std::vector<Icon>& icons()
{
    static const std::vector<Icon> list{
        {"add_48x.png", 48, drawAdd},         {"close_48x.png", 48, drawClose},
        {"copy_48x.png", 48, drawCopy},       {"edit_48x.png", 48, drawEdit},
        {"first_48x.png", 48, drawFirst},     {"midigreen.png", 48, drawMidi},
        {"next_48.png", 48, drawNext},        {"ok_48.png", 48, drawOk},
        {"pause_48x.png", 48, drawPause},     {"play_48x.png", 48, drawPlay},
        {"refresh_48.png", 48, drawRefresh},  {"stop_48.png", 48, drawStop},
        {"vmicon.png", 256, drawProgramIcon},
    };
    return list;
}

Image render(const Icon& icon)
{
    Image image(Image::ARGB, icon.size, icon.size, true);
    Graphics g(image);
    icon.draw(g);
    return image;
}

bool writePng(const Image& image, const File& file)
{
    file.deleteFile();
    FileOutputStream out(file);
    return out.openedOk() && PNGImageFormat().writeImageToStream(image, out);
}

// Every icon enlarged four times on the button body, then at button size on the
// body and on the "on" colour; the program icon at full size at the end.
Image contactSheet()
{
    const int cell = 208;
    const auto& list = icons();
    Image sheet(Image::ARGB, cell * 6, cell * 3 + 280, true);
    Graphics g(sheet);
    g.fillAll(buttonBody);

    int index = 0;
    for (auto& icon : list)
    {
        if (icon.size != 48)
            continue;
        const int x = (index % 6) * cell;
        const int y = (index / 6) * cell;
        ++index;

        const auto image = render(icon);
        g.setOpacity(1.0f); // drawImage takes the current colour's opacity
        g.setImageResamplingQuality(Graphics::lowResamplingQuality);
        g.drawImage(image, x + 8, y + 8, 192, 192, 0, 0, 48, 48);
        g.setColour(Colours::white.withAlpha(0.15f));
        g.drawRect(x + 8, y + 8, 192, 192);
    }

    g.setImageResamplingQuality(Graphics::highResamplingQuality);
    const int rowY = cell * 2 + 20;
    int x = 10;
    for (auto& icon : list)
    {
        if (icon.size != 48)
            continue;
        const auto image = render(icon);
        g.setColour(buttonBody);
        g.fillRoundedRectangle((float)x, (float)rowY, 28.0f, 28.0f, 6.0f);
        g.drawImage(image, x + 2, rowY + 2, 24, 24, 0, 0, 48, 48);
        g.setColour(brandOrange);
        g.fillRoundedRectangle((float)x, (float)rowY + 40.0f, 28.0f, 28.0f, 6.0f);
        g.drawImage(image, x + 2, rowY + 42, 24, 24, 0, 0, 48, 48);
        g.setColour(Colour(0xff444d5a));
        g.fillRoundedRectangle((float)x, (float)rowY + 80.0f, 28.0f, 28.0f, 6.0f);
        g.drawImage(image, x + 2, rowY + 82, 24, 24, 0, 0, 48, 48);
        x += 40;
    }

    for (auto& icon : list)
        if (icon.size == 256)
        {
            g.drawImageAt(render(icon), 10, cell * 3 + 10);
            g.setColour(Colour(0xffe8e8e8));
            g.fillRect(300, cell * 3 + 10, 256, 256);
            g.drawImageAt(render(icon), 300, cell * 3 + 10);
        }
    return sheet;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: %s <output folder> [--sheet <file.png>]\n", argv[0]);
        return 2;
    }

    const File folder(File::getCurrentWorkingDirectory().getChildFile(argv[1]));
    if (!folder.createDirectory())
    {
        std::fprintf(stderr, "cannot create %s\n", folder.getFullPathName().toRawUTF8());
        return 1;
    }

    for (auto& icon : icons())
        if (!writePng(render(icon), folder.getChildFile(icon.fileName)))
        {
            std::fprintf(stderr, "cannot write %s\n", icon.fileName);
            return 1;
        }

    if (argc >= 4 && String(argv[2]) == "--sheet")
        if (!writePng(contactSheet(), File::getCurrentWorkingDirectory().getChildFile(argv[3])))
        {
            std::fprintf(stderr, "cannot write %s\n", argv[3]);
            return 1;
        }
    return 0;
}
