// PerformanceModeView: the system page's performance selector and the
// picture beside it, as the device side shows a mode on them. The main
// window implements it over its framework controls once they exist.
#pragma once

class PerformanceModeView {
public:
    virtual ~PerformanceModeView() = default;
    // Selects the selector's tab for mode 0..2 and shows its picture.
    virtual void ShowPerformanceMode(int mode) = 0;

    // "img_permode1.png" .. "img_permode3.png" for modes 0..2.
    static const wchar_t* PictureFor(int mode) {
        static constexpr const wchar_t* kPictures[] = {L"img_permode1.png", L"img_permode2.png", L"img_permode3.png"};
        return mode >= 0 && mode < 3 ? kPictures[mode] : kPictures[0];
    }
};

// Until the page exists: remembers what it was asked to show.
class PerformanceModeModel : public PerformanceModeView {
public:
    void ShowPerformanceMode(int mode) override { m_shownMode = mode; }
    int ShownMode() const { return m_shownMode; }

private:
    int m_shownMode = 0;
};
