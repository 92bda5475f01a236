#pragma once
// CRRegionRadio: a rounded panel showing a grid of options (bevelled
// buttons) of which the user picks one. The grid is painted from two images
// made once: the panel with the options plain, and a copy with the
// selection highlight, from which the selected cell is copied.
#include <memory>
#include <vector>

#include "gfx/dibdc.h"
#include "widgets/regions/rregion.h"

class CRRegionRadio : public CRRegion {
public:
    CRRegionRadio(CZVWindow* parent, CZVRect rect, int styleClass, int columns, int rows, int groupCommand,
                  int outsideCommand);
    ~CRRegionRadio() override;

    void OnPaint(CZVDC* dc) override;
    int OnLButtonDown(int x, int y, int keys) override;
    int OnLButtonUp(int x, int y, int keys) override;
    void CreateFrame() override;
    std::optional<CZVRect> GetOpaqueRect() override { return CZVRect(0, 0, m_width, m_height); }

    virtual void GetCellRect(CZVRect* out, int column, int row);
    virtual void DrawOption(int index, CZV3DButton* option, CZVDC* surface, int selectedLook);
    virtual void DrawOptionIcon(int index, CZV3DButton* option, CZVDC* surface, int selectedLook, COLORREF colour);

    // The option stays its maker's: it is neither a child nor deleted here.
    void AddOption(CZV3DButton* option, int id);
    void SetSelection(int index, int redraw);
    int GetSelection() const { return m_selection; }
    int GetOptionCount() const { return static_cast<int>(m_options.size()); }
    int GetOptionId(int index) const;
    void LayoutOptions(CDibDC* surface, int selectedLook);
    void SetFrameTexture(int texture) { m_frameTexture = texture; }
    void SetFrameRaised(int level) { m_frameRaised = level; }

private:
    struct Option {
        CZV3DButton* window;
        int id;
    };
    CZVRect CellOf(int index);
    void BuildNormalImage();
    void PrepareSelectedImage();

    std::vector<Option> m_options;
    int m_columns;
    int m_rows;
    int m_pressed = 0;
    int m_previousSelection = 0;
    int m_selection = -1;
    int m_groupCommand;
    int m_outsideCommand;
    std::unique_ptr<CDibDC> m_normalImage;
    std::unique_ptr<CDibDC> m_selectedImage;
    int m_selectedPrepared = 0;
    int m_frameTexture = 0;
    int m_frameRaised = 1;
};
