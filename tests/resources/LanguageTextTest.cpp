// Draws and measures the texts of every language file with GDI+, in the faces
// the framework draws them with, beside the real program:
//   - each language's texts paint real glyphs in the default face "Segoe UI"
//     (CJK included, which only works through the prefix's font links), and
//   - each text fits the place it is shown in (width, and lines where the
//     place wraps).
// The texts are read through the platform's profile reader, as the program
// reads them, so a file in the wrong encoding fails here too.
#include <windows.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr int kLanguages[] = {1033, 2052, 1031, 1041, 1036, 1040, 1034, 1028, 1043, 1045};
constexpr wchar_t kDefaultFace[] = L"Segoe UI";   // Manager's default face
constexpr Gdiplus::REAL kFontPixels = 16.0f;        // Manager's default size
constexpr int kTextBuffer = 512;                     // the program's INI buffer
constexpr int kAllKeys[] = {1,  2,  10, 11, 20, 23, 25, 60, 61, 63,  64,  65,  66,  67,  68,  70,  71,  72, 73,
                            74, 75, 76, 84, 85, 86, 87, 88, 101, 102, 103, 104, 105, 285, 286, 294, 295, 328, 334};

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

std::wstring LanguageFile(int lcid) {
    return ProgramFolder() + L"language\\" + std::to_wstring(lcid) + L".lan";
}

std::wstring ReadText(int lcid, int key) {
    wchar_t value[kTextBuffer] = {};
    GetPrivateProfileStringW(L"LAN", std::to_wstring(key).c_str(), L"", value, kTextBuffer,
                             LanguageFile(lcid).c_str());
    return value;
}

class GdiplusSession {
public:
    GdiplusSession() {
        Gdiplus::GdiplusStartupInput input;
        status_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr);
    }
    ~GdiplusSession() {
        if (status_ == Gdiplus::Ok) Gdiplus::GdiplusShutdown(token_);
    }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;
    bool ok() const { return status_ == Gdiplus::Ok; }

private:
    ULONG_PTR token_ = 0;
    Gdiplus::Status status_ = Gdiplus::GenericError;
};

// The two faces the framework draws the program's texts in: the default face
// from the installed fonts, and "Arial" from the program's font folder.
class Faces {
public:
    Faces() : segoe_(kDefaultFace) {
        const std::wstring arial = ProgramFolder() + L"font\\Arial.ttf";
        int found = 0;
        if (GetFileAttributesW(arial.c_str()) != INVALID_FILE_ATTRIBUTES &&
            collection_.AddFontFile(arial.c_str()) == Gdiplus::Ok && collection_.GetFamilyCount() > 0 &&
            collection_.GetFamilies(1, &fromFolder_, &found) == Gdiplus::Ok && found == 1) {
            arial_ = &fromFolder_;
        } else {
            installed_ = std::make_unique<Gdiplus::FontFamily>(L"Arial");
            arial_ = installed_.get();
        }
    }
    Faces(const Faces&) = delete;
    Faces& operator=(const Faces&) = delete;
    const Gdiplus::FontFamily& segoe() const { return segoe_; }
    const Gdiplus::FontFamily& arial() const { return *arial_; }

private:
    Gdiplus::FontFamily segoe_;
    Gdiplus::PrivateFontCollection collection_;
    Gdiplus::FontFamily fromFolder_;
    std::unique_ptr<Gdiplus::FontFamily> installed_;
    const Gdiplus::FontFamily* arial_ = nullptr;
};

class LanguageTextTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        session_ = std::make_unique<GdiplusSession>();
        faces_ = std::make_unique<Faces>();
    }
    static void TearDownTestSuite() {
        faces_.reset();
        session_.reset();
    }
    static std::unique_ptr<GdiplusSession> session_;
    static std::unique_ptr<Faces> faces_;
};
std::unique_ptr<GdiplusSession> LanguageTextTest::session_;
std::unique_ptr<Faces> LanguageTextTest::faces_;

// ------------------------------------------------------------------ painting

constexpr int kInkThreshold = 64;

struct Rendering {
    int ink = 0;                  // pixels brighter than the threshold
    std::vector<BYTE> pixels;     // green channel, to tell glyphs apart
};

Rendering Render(const std::wstring& text, const Gdiplus::FontFamily& family, int width, int height) {
    Gdiplus::Bitmap bitmap(width, height, PixelFormat32bppARGB);
    {
        Gdiplus::Graphics graphics(&bitmap);
        graphics.Clear(Gdiplus::Color(255, 0, 0, 0));
        graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
        Gdiplus::Font font(&family, kFontPixels, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
        Gdiplus::SolidBrush white(Gdiplus::Color(255, 242, 242, 242));
        graphics.DrawString(text.c_str(), -1, &font, Gdiplus::PointF(2, 2), &white);
    }
    Rendering out;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Gdiplus::Color c;
            bitmap.GetPixel(x, y, &c);
            out.pixels.push_back(c.GetG());
            if (c.GetG() > kInkThreshold) ++out.ink;
        }
    }
    return out;
}

// The characters worth drawing one by one: letters and ideographs, not
// spaces or punctuation, which may rightly look alike.
std::set<wchar_t> Letters(const std::wstring& text) {
    std::set<wchar_t> letters;
    for (wchar_t c : text) {
        WORD type = 0;
        if (GetStringTypeW(CT_CTYPE1, &c, 1, &type) && (type & C1_ALPHA)) letters.insert(c);
    }
    return letters;
}

TEST_F(LanguageTextTest, DefaultFaceIsInstalled) {
    ASSERT_TRUE(session_->ok());
    EXPECT_EQ(faces_->segoe().GetLastStatus(), Gdiplus::Ok) << "no font answers to \"Segoe UI\"";
    EXPECT_EQ(faces_->arial().GetLastStatus(), Gdiplus::Ok) << "no font answers to \"Arial\"";
}

// A glyph the fonts lack is drawn as the same empty box whatever the
// character, or not at all: so every letter must leave ink, and different
// letters must look different.
TEST_F(LanguageTextTest, EveryLanguagePaintsRealGlyphs) {
    ASSERT_TRUE(session_->ok());
    for (int lcid : kLanguages) {
        std::wstring sample;
        for (int key : kAllKeys) sample += ReadText(lcid, key) + L" ";
        SCOPED_TRACE("language " + std::to_string(lcid));
        ASSERT_GT(sample.size(), 10u) << "no texts read from the language file";

        EXPECT_GT(Render(sample, faces_->segoe(), 1400, 40).ink, 100);

        const std::set<wchar_t> letters = Letters(sample);
        std::set<std::vector<BYTE>> shapes;
        for (wchar_t letter : letters) {
            const Rendering glyph = Render(std::wstring(1, letter), faces_->segoe(), 32, 32);
            EXPECT_GT(glyph.ink, 0) << "U+" << std::hex << static_cast<int>(letter) << " draws nothing";
            shapes.insert(glyph.pixels);
        }
        EXPECT_GE(shapes.size() * 10, letters.size() * 9)
            << letters.size() << " letters draw as only " << shapes.size() << " shapes (missing glyphs?)";
    }
}

// With TARVENHOLM_TEXT_SPECIMEN set to a folder, every language's texts are
// also drawn there as <LCID>.png (key and text per line, default face, on the
// window colour), to look at how the prefix renders them.
bool PngEncoder(CLSID* clsid) {
    UINT count = 0, bytes = 0;
    Gdiplus::GetImageEncodersSize(&count, &bytes);
    std::vector<BYTE> buffer(bytes);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (bytes == 0 || Gdiplus::GetImageEncoders(count, bytes, encoders) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (std::wstring(encoders[i].MimeType) == L"image/png") {
            *clsid = encoders[i].Clsid;
            return true;
        }
    }
    return false;
}

TEST_F(LanguageTextTest, SpecimenWhenAsked) {
    wchar_t folder[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"TARVENHOLM_TEXT_SPECIMEN", folder, MAX_PATH) == 0) GTEST_SKIP();
    CLSID png{};
    ASSERT_TRUE(PngEncoder(&png));
    constexpr int kLine = 24;
    for (int lcid : kLanguages) {
        const int height = kLine * static_cast<int>(std::size(kAllKeys)) + 16;
        Gdiplus::Bitmap sheet(900, height, PixelFormat32bppARGB);
        {
            Gdiplus::Graphics graphics(&sheet);
            graphics.Clear(Gdiplus::Color(255, 0x11, 0x14, 0x19));
            graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
            Gdiplus::Font font(&faces_->segoe(), kFontPixels, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
            Gdiplus::SolidBrush text(Gdiplus::Color(255, 242, 242, 242));
            Gdiplus::SolidBrush key(Gdiplus::Color(255, 135, 135, 135));
            for (size_t i = 0; i < std::size(kAllKeys); ++i) {
                const Gdiplus::REAL y = 8.0f + kLine * static_cast<Gdiplus::REAL>(i);
                const std::wstring number = std::to_wstring(kAllKeys[i]);
                graphics.DrawString(number.c_str(), -1, &font, Gdiplus::PointF(8, y), &key);
                graphics.DrawString(ReadText(lcid, kAllKeys[i]).c_str(), -1, &font, Gdiplus::PointF(56, y), &text);
            }
        }
        const std::wstring path = std::wstring(folder) + L"\\" + std::to_wstring(lcid) + L".png";
        EXPECT_EQ(sheet.Save(path.c_str(), &png, nullptr), Gdiplus::Ok);
    }
}

// ------------------------------------------------------------------- fitting

enum class Face { Default, Arial };

struct Place {
    const char* what;
    Face face;
    bool bold;
    int width;   // pixels available for the text
    int lines;   // 1: must not wrap; more: wraps at the width in at most this many lines
};

struct KeyPlace {
    int key;
    Place place;
};

// Where each text is drawn, from the control rectangles of the main window,
// the message box and the update dialog, minus what the picture beside a
// text takes. Tooltips and the tray menu have room to spare and are not here.
const KeyPlace kPlaces[] = {
    {20, {"single message box button", Face::Default, false, 280, 1}},
    {23, {"confirming button", Face::Default, false, 150, 1}},
    {25, {"declining button", Face::Default, false, 150, 1}},
    {60, {"navigation tab caption", Face::Arial, false, 195, 1}},
    {61, {"navigation tab caption", Face::Arial, false, 195, 1}},
    {61, {"light mode heading", Face::Default, false, 150, 1}},
    {63, {"performance tab", Face::Arial, false, 150, 1}},
    {64, {"performance tab", Face::Arial, false, 150, 1}},
    {65, {"performance tab", Face::Arial, false, 150, 1}},
    {66, {"caption above the mode picture", Face::Default, true, 100, 1}},
    {67, {"lower left label of the mode picture", Face::Default, true, 100, 1}},
    {68, {"lower right label of the mode picture", Face::Default, true, 100, 2}},
    {70, {"light mode tile", Face::Default, false, 102, 2}},
    {71, {"light mode tile", Face::Default, false, 102, 2}},
    {72, {"light mode tile", Face::Default, false, 102, 2}},
    {73, {"light mode tile", Face::Default, false, 102, 2}},
    {74, {"light mode tile", Face::Default, false, 102, 2}},
    {75, {"light mode tile", Face::Default, false, 102, 2}},
    {76, {"light mode tile", Face::Default, false, 102, 2}},
    {84, {"brightness card heading", Face::Default, false, 215, 1}},
    {85, {"brightness label before its slider", Face::Default, false, 90, 1}},
    {86, {"speed label before its slider", Face::Default, false, 90, 1}},
    {87, {"colour card heading", Face::Default, false, 215, 1}},
    {88, {"colour preview label", Face::Default, false, 70, 1}},
    {101, {"defaults reset button", Face::Default, false, 150, 1}},
    {102, {"update label", Face::Default, false, 120, 1}},
    {103, {"autostart label", Face::Default, false, 120, 1}},
    {104, {"reset question", Face::Default, false, 380, 2}},
    {105, {"reset question title", Face::Default, false, 460, 1}},
    {285, {"software check message", Face::Default, false, 380, 2}},
    {286, {"firmware offer title", Face::Default, false, 460, 1}},
    {295, {"firmware update failure message", Face::Default, false, 380, 2}},
    {334, {"update dialog title", Face::Default, false, 200, 1}},
};

struct Measure {
    float width = 0;
    int lines = 0;
    int fitted = 0;
};

Measure MeasureText(const std::wstring& text, const Gdiplus::FontFamily& family, const Place& place) {
    Gdiplus::Bitmap scratch(1, 1, PixelFormat32bppARGB);
    Gdiplus::Graphics graphics(&scratch);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
    Gdiplus::Font font(&family, kFontPixels, place.bold ? Gdiplus::FontStyleBold : Gdiplus::FontStyleRegular,
                       Gdiplus::UnitPixel);
    const bool wraps = place.lines > 1;
    Gdiplus::StringFormat format(Gdiplus::StringFormatFlagsMeasureTrailingSpaces |
                                 (wraps ? 0 : Gdiplus::StringFormatFlagsNoWrap));
    const Gdiplus::RectF layout(0, 0, wraps ? static_cast<Gdiplus::REAL>(place.width) : 10000.0f, 1000.0f);
    Gdiplus::RectF bounds;
    Measure m;
    graphics.MeasureString(text.c_str(), static_cast<INT>(text.size()), &font, layout, &format, &bounds,
                           &m.fitted, &m.lines);
    m.width = bounds.Width;
    return m;
}

void ExpectFits(int lcid, const std::wstring& text, const Place& place, const Faces& faces, const std::string& label) {
    const Measure m = MeasureText(text, place.face == Face::Arial ? faces.arial() : faces.segoe(), place);
    if (place.lines == 1) {
        EXPECT_LE(m.width, place.width) << lcid << ".lan " << label << " (" << place.what << "): "
                                        << m.width << " px wide, room for " << place.width;
    } else {
        EXPECT_LE(m.lines, place.lines) << lcid << ".lan " << label << " (" << place.what << "): "
                                        << m.lines << " lines in " << place.width << " px";
        EXPECT_EQ(m.fitted, static_cast<int>(text.size())) << lcid << ".lan " << label;
    }
}

TEST_F(LanguageTextTest, EveryTextFitsItsPlace) {
    ASSERT_TRUE(session_->ok());
    for (int lcid : kLanguages) {
        for (const KeyPlace& entry : kPlaces) {
            const std::wstring text = ReadText(lcid, entry.key);
            ASSERT_FALSE(text.empty()) << lcid << ".lan key " << entry.key;
            ExpectFits(lcid, text, entry.place, *faces_, "key " + std::to_string(entry.key));
        }
    }
}

// Two texts are composed before they are shown: the firmware offer
// ("%s:v%s, %s") and the progress line (key 328 with the percentage).
TEST_F(LanguageTextTest, ComposedTextsFit) {
    ASSERT_TRUE(session_->ok());
    const Place offer{"firmware offer message", Face::Default, false, 380, 2};
    const Place progress{"update progress line", Face::Default, false, 443, 1};
    for (int lcid : kLanguages) {
        const std::wstring message = ReadText(lcid, 286) + L":v" + L"1a" + L", " + ReadText(lcid, 294);
        ExpectFits(lcid, message, offer, *faces_, "keys 286 + 294");

        wchar_t line[kTextBuffer] = {};
        swprintf(line, kTextBuffer, ReadText(lcid, 328).c_str(), 100);
        EXPECT_NE(std::wstring(line).find(L"100"), std::wstring::npos) << lcid << ".lan key 328: " << line;
        ExpectFits(lcid, line, progress, *faces_, "key 328");
    }
}

}  // namespace
