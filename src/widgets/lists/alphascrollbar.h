#pragma once
// CAlphaScrollBar: the letter index beside a long sorted list. In place of a
// track it shows the letters A to Z along the bar, each as long as its share
// of the rows, under a highlighted band over the rows in view. The band can
// be dragged; a finger held beside it lights the letters up to the band,
// and after a moment the band glides to the finger and then follows it. A
// quick tap beside the band pages once.
#include <array>
#include <memory>

#include "widgets/lists/scrollbar.h"

class CDibDC;

class CAlphaScrollBar : public CZVScrollBar {
public:
    // Bucket 0 holds the rows before "A" (digits, signs), buckets 1..26 the
    // rows starting with A..Z.
    static constexpr int kBuckets = 27;
    static constexpr int kLetters = 26;

    CAlphaScrollBar(CZVWindow* parent, CZVWindow* target, CZVRect rect);
    ~CAlphaScrollBar() override;

    void OnPaint(CZVDC* dc) override;
    int OnMouseMove(int x, int y, int keys) override;
    int OnLButtonDown(int x, int y, int keys) override;
    int OnLButtonUp(int x, int y, int keys) override;
    void OnTimer() override;
    void SetPosition(int pos, int redraw) override;
    void ScrollTo(int pos) override;

    // The rows of each bucket, in list order; negative counts count as 0.
    void SetLetterCounts(const int counts[kBuckets]);
    // Offset along the letter strip of a scroll position, and back.
    int PositionToOffset(int pos) const;
    int OffsetToPosition(int offset) const;
    // Length along the strip of the rows in view.
    int BandLength() const;
    void DrawStrip(CZVDC* dc);

    int GetItemTotal() const { return m_itemTotal; }
    int GetBandOffset() const { return m_bandOffset; }
    int GetBandLength() const { return m_bandLength; }
    // The largest band offset: the strip's end for the last page.
    int GetBandMax() const;
    int GetLetterSize(int letter) const { return m_letterSizes[static_cast<size_t>(letter)]; }
    int GetStripStart() const { return m_stripStart; }
    int GetStripFontSize() const { return m_fontSize; }
    CZVRect GetLetterArea() const { return m_letterArea; }

private:
    // Rows before bucket b.
    int RowsBefore(int bucket) const;
    // Start of letter k along the strip.
    int LetterStart(int letter) const;
    void DrawLetters(CDibDC* image, int fontSize, COLORREF face, COLORREF textColour, CZVString text, CZVRect textRect);
    // The strip with the band; bright letters while lit.
    void ComposeStrip(CZVDC* dc, bool bright);
    // The band from the position, as the bar rests.
    void PlaceBand();
    // Moves the band to the finger a pixel at a time; the finger then drags it.
    void GlideToFinger();

    std::array<int, kBuckets> m_letterCounts{};
    int m_itemTotal = 0;
    int m_bandOffset = 0;
    int m_bandLength = 1;
    int m_dragStartOffset = 0;
    std::unique_ptr<CDibDC> m_letters;
    std::unique_ptr<CDibDC> m_brightLetters;
    std::unique_ptr<CDibDC> m_work;
    std::array<int, kLetters> m_letterSizes{};
    CZVRect m_letterArea;
    int m_stripStart = 0;
    int m_textHeight = 0;
};
