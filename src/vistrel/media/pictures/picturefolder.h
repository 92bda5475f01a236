#pragma once
// The household's albums as the gateway keeps them: a tree of folders, each
// holding its pictures and its sub-albums. Every picture item fetches its own
// thumbnail or full picture when first drawn, keeps the decoded surface and
// draws itself into a cell of a list.
#include <cstdint>
#include <memory>
#include <vector>

#include "core/messages/mediamessages.h"
#include "core/zvserver.h"
#include "gfx/dibdc.h"
#include "gfx/zvrect.h"
#include "gfx/zvstring.h"

class CPictureFolder;
class CPictureItem;
class CZVDC;
class CZVWindow;

// Told by a picture item that the image it asked for arrived. The list that
// draws the items implements it; the item reaches it through the owner it drew for.
class CPictureItemListener {
public:
    virtual ~CPictureItemListener() = default;
    virtual void OnItemLoaded(CPictureItem* item, int isPicture) = 0;
};

// The image kinds an item asks for.
enum : int { kPictureNone = 0, kPictureThumbnail = 1, kPictureFull = 2 };

// Drawing modes of CPictureItem::DrawItem.
enum : int {
    kDrawFramed = 0,       // framed thumbnail with its caption
    kDrawFramedBare = 1,   // framed thumbnail, no caption
    kDrawButton = 2,       // button of the cell's size
    kDrawThumbButton = 3,  // button of the thumbnail's size on grey
    kDrawButtonLight = 4,  // button of the cell's size, light face
    kDrawPicture = 5,      // the full picture
};

class CPictureItem : public CSocketSink {
public:
    static constexpr uint32_t kAnswerWaitMs = 30000;

    CPictureItem(CPictureFolder* folder, CZVString name, int index);
    ~CPictureItem() override;

    // Asks for the image at that size, unless a request is still waited for.
    void Request(int width, int height, int kind);
    void OnMessage(CZVMSG* message) override;
    void EnsurePicture(int width, int height);
    void FreePicture() { m_picture.reset(); }
    uint32_t GetPictureAge() const;
    int IsOlderThan(const CPictureItem* other) const;
    int GetMemoryBytes() const;
    void SetHighlight(int on, COLORREF colour) {
        m_highlighted = on;
        m_highlightColor = colour;
    }
    int IsHighlighted() const { return m_highlighted; }
    COLORREF GetHighlightColor() const { return m_highlightColor; }
    // 1 when drawn whole; 0 when the image was missing and has been asked for.
    int DrawItem(CZVWindow* owner, CZVDC* dc, CZVRect cell, CZVRect image, CZVRect caption, COLORREF frame, int mode);

    CPictureFolder* GetFolder() const { return m_folder; }
    int GetIndex() const { return m_index; }
    CZVString GetName() const { return m_name; }
    CDibDC* GetThumbnail() const { return m_thumbnail.get(); }
    CDibDC* GetPicture() const { return m_picture.get(); }
    // The kind asked for and still awaited; a request past its wait counts as ended.
    int GetPending() const;

private:
    int DrawImageMode(CZVWindow* owner, CZVDC* dc, CZVRect image, CZVRect caption, COLORREF frame, int mode);
    int DrawButtonMode(CZVWindow* owner, CZVDC* dc, CZVRect cell, CZVRect image, CZVRect caption, int mode);
    // Takes the JPEG into a new surface of the size the answer names; null
    // when the size is beyond the limits or the data does not decode.
    static std::unique_ptr<CDibDC> Decode(int width, int height, const uint8_t* jpeg, size_t size);
    void EndWait();

    CPictureFolder* m_folder;
    int m_index;
    std::unique_ptr<CDibDC> m_thumbnail;
    std::unique_ptr<CDibDC> m_picture;
    CZVString m_name;
    CZVWindow* m_owner = nullptr;
    int m_pending = kPictureNone;
    uint32_t m_pictureTick;
    uint32_t m_requestTick = 0;
    int m_highlighted = 0;
    COLORREF m_highlightColor = 0;
};

class CPictureFolder {
public:
    // Nesting the folder record may have; deeper albums are refused.
    static constexpr int kMaxDepth = 16;
    static constexpr int32_t kDefaultRequestId = ZVM_PICTURES_GETTHUMBNAILQ;

    // The root of a tree, on the connection its items ask through.
    explicit CPictureFolder(CZVServer& server);
    // A sub-album of parent.
    explicit CPictureFolder(CPictureFolder* parent);
    // A folder its owner fills itself, whose items ask for their thumbnails with requestId,
    // naming folderId and flag (a device's titles: the object and the group).
    CPictureFolder(CZVServer& server, int32_t folderId, int32_t requestId, int32_t flag);
    virtual ~CPictureFolder();
    CPictureFolder(const CPictureFolder&) = delete;
    CPictureFolder& operator=(const CPictureFolder&) = delete;

    // Appends the folder record's pictures and sub-albums to what the folder
    // holds. Stops at the first field that fails; 1 when the record was whole.
    int Read(CZVMSG* message);
    CPictureItem* GetPicture(int index) const;
    CPictureFolder* GetSubFolder(int index) const;
    int IndexOf(const CPictureItem* item) const;
    uint32_t GetTotalBytes() const;
    CPictureItem* FindOldestPicture(CPictureItem* candidate) const;
    void FreeAllPictures();

    int GetPictureCount() const { return static_cast<int>(m_pictures.size()); }
    int GetSubFolderCount() const { return static_cast<int>(m_subFolders.size()); }
    CPictureFolder* GetParent() const { return m_parent; }
    CPictureFolder* GetRoot();
    CZVString GetName() const { return m_name; }
    int32_t GetFolderId() const { return m_id; }
    int32_t GetRequestId() const { return m_requestId; }
    int32_t GetRequestFlag() const { return m_requestFlag; }
    void SetRequest(int32_t requestId, int32_t flag) {
        m_requestId = requestId;
        m_requestFlag = flag;
    }
    CZVServer& GetServer() const { return m_server; }
    // Appends a picture of that name; its index is its position.
    CPictureItem* AddPicture(CZVString name);
    // Appends a picture that its requests name by index (a title's id).
    CPictureItem* AddPicture(CZVString name, int index);

private:
    int ReadRecord(CZVMSG* message, int depth);
    int Depth() const;

    CZVServer& m_server;
    CPictureFolder* m_parent = nullptr;
    CZVString m_name;
    int32_t m_id = -1;
    std::vector<std::unique_ptr<CPictureItem>> m_pictures;
    std::vector<std::unique_ptr<CPictureFolder>> m_subFolders;
    int32_t m_requestId = kDefaultRequestId;
    int32_t m_requestFlag = 0;
};
