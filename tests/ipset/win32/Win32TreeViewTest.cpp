#include "ipset/win32/Win32TreeView.h"
#include "ipset/win32/Imagenes16x16.h"

#include "base/win32/WideText.h"
#include "data/DBConnection.h"
#include "data/o_DatabaseConnection.h"
#include "fakes/FakeIpHelper.h"
#include "fakes/TempStore.h"
#include "ipset/o_IPSetManager.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

// One item as the control itself reports it.
struct NativeItem {
    std::string Outline; // two blanks per level, "*" when bold, the text
    bool Expanded;
    bool HasChildren;
    LPARAM Data;
    int Image;
    int SelectedImage;
};

void ReadItems(HWND Tree, HTREEITEM Item, int Level, std::vector<NativeItem>& Items) {
    for (; Item != nullptr; Item = TreeView_GetNextSibling(Tree, Item)) {
        wchar_t Text[260] = {};
        TVITEMW Native = {};
        Native.mask =
            TVIF_HANDLE | TVIF_TEXT | TVIF_STATE | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        Native.hItem = Item;
        Native.stateMask = TVIS_BOLD | TVIS_EXPANDED;
        Native.pszText = Text;
        Native.cchTextMax = 260;
        SendMessageW(Tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&Native));
        const bool Bold = (Native.state & TVIS_BOLD) != 0;
        const HTREEITEM Child = TreeView_GetChild(Tree, Item);
        Items.push_back({std::string(2 * static_cast<std::size_t>(Level), ' ') + (Bold ? "*" : "") +
                             FromWide(Text),
                         (Native.state & TVIS_EXPANDED) != 0, Child != nullptr, Native.lParam,
                         Native.iImage, Native.iSelectedImage});
        ReadItems(Tree, Child, Level + 1, Items);
    }
}

std::vector<NativeItem> ReadTree(HWND Tree) {
    std::vector<NativeItem> Items;
    ReadItems(Tree, TreeView_GetRoot(Tree), 0, Items);
    return Items;
}

std::vector<std::string> Outline(const std::vector<NativeItem>& Items) {
    std::vector<std::string> Lines;
    for (const NativeItem& I : Items)
        Lines.push_back(I.Outline);
    return Lines;
}

HWND CreateHost() {
    WNDCLASSEXW Class = {};
    Class.cbSize = sizeof(Class);
    Class.lpfnWndProc = DefWindowProcW;
    Class.hInstance = GetModuleHandleW(nullptr);
    Class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    Class.lpszClassName = L"QuelvanoTreeHost";
    RegisterClassExW(&Class);
    return CreateWindowExW(0, L"QuelvanoTreeHost", L"Quelvano", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                           0, 680, 540, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

class Win32Trees : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(Host, nullptr);
        ASSERT_NE(Images, nullptr);
        SetTree.SetImageList(Images);
        AdapterTree.SetImageList(Images);
        Manager.SetIPSetDataSet(Db.IPSets());
        Manager.SetConnectionsDataSet(Db.ConnectionNames());
        Manager.SetIPSetTreeView(&SetTree);
        Manager.SetAdapterTreeview(&AdapterTree);
    }
    void TearDown() override { ImageList_Destroy(Images); }

    int AddConnection(const std::string& Name) { return PostConnection(Db, Name); }

    int AddSet(const std::string& Name, int Connection, bool Dhcp) {
        static const std::vector<std::string> Static = {"192.0.2.10", "255.255.255.0", "192.0.2.1",
                                                        "192.0.2.53", "198.51.100.53"};
        static const std::vector<std::string> Automatic(5, "0.0.0.0");
        return PostIPSet(Db, Name, Connection, Dhcp, Dhcp ? Automatic : Static);
    }

    TempStore Store;
    TgtIPDBManager& Db = Store.Db;
    FakeIpHelper Fake;
    HWND Host = CreateHost();
    HIMAGELIST Images = CreateImagenes16x16();
    TWin32TreeView SetTree{nullptr, Host, {8, 8, 330, 500}};
    TWin32TreeView AdapterTree{nullptr, Host, {338, 8, 660, 500}};
    TgtIPSetManager Manager{nullptr};
};

TEST_F(Win32Trees, IPSetTreeShowsTextsBoldCaptionsTheIDAndPictures) {
    const int Connection = AddConnection("LAN 1");
    const int Casa = AddSet("Casa", Connection, false);
    const int Movil = AddSet("móvil", Connection, true);
    Manager.FillIPSetTree();
    Manager.FillIPSetTree();

    const std::vector<NativeItem> Items = ReadTree(SetTree.Handle());
    EXPECT_EQ(Outline(Items),
              (std::vector<std::string>{
                  "*CASA", "  IP : 192.0.2.10", "  Mascara de Red : 255.255.255.0",
                  "  Def.Gateway : 192.0.2.1", "  DNS preferido : 192.0.2.53",
                  "  DNS alternativo : 198.51.100.53", "  DHCP : No", "  Nombre Conexion : LAN 1",
                  "*MóVIL", "  DHCP : Si", "  Nombre Conexion : LAN 1"}));
    ASSERT_EQ(Items.size(), 11u);
    for (std::size_t I = 0; I < Items.size(); ++I) {
        const bool Top = I == 0 || I == 8;
        EXPECT_EQ(Items[I].Data, I < 8 ? Casa : Movil) << Items[I].Outline;
        EXPECT_EQ(Items[I].Image, Top ? 24 : I_IMAGENONE) << Items[I].Outline;
        EXPECT_EQ(Items[I].SelectedImage, Top ? 28 : I_IMAGENONE) << Items[I].Outline;
        EXPECT_FALSE(Items[I].Expanded) << Items[I].Outline;
    }
    EXPECT_EQ(SendMessageW(SetTree.Handle(), TVM_GETCOUNT, 0, 0), 11);
}

TEST_F(Win32Trees, AdapterTreeShowsAdaptersClosedWithTheirGroupsOpen) {
    TAdapterDescription Ethernet =
        FakeIpHelper::Adapter("{E1}", 7, {{"192.0.2.10", "255.255.255.0"}});
    Ethernet.Description = "Red Ethernet";
    Ethernet.DhcpEnabled = 1;
    Ethernet.DnsServers = {"192.0.2.53"};
    TAdapterDescription Second = FakeIpHelper::Adapter("{E2}", 9, {});
    Second.Description = "Red sin direccion";
    Fake.Adapters = {Ethernet, Second};
    Manager.FillAdapterTree();
    for (int I = 0; I < AdapterTree.Count(); ++I) // what the user opened goes at the rebuild
        TreeView_Expand(AdapterTree.Handle(), reinterpret_cast<HTREEITEM>(AdapterTree.Item(I)),
                        TVE_EXPAND);
    Manager.FillAdapterTree();

    const std::vector<NativeItem> Items = ReadTree(AdapterTree.Handle());
    const std::vector<std::string> Lines = Outline(Items);
    ASSERT_EQ(Lines.size(), 2u * 13u + 3u);
    EXPECT_EQ(std::vector<std::string>(Lines.begin(), Lines.begin() + 10),
              (std::vector<std::string>{"* Red Ethernet", "  MacAddress   : 02-00-00-00-00-07",
                                        "  DHCP Enabled : True", "  WINS Enabled : False",
                                        "  *Direccion IP", "    192.0.2.10", "  *Mascara de Red",
                                        "    255.255.255.0", "  *Gateway", "  *Servidor DHCP"}));
    EXPECT_EQ(Lines[16], "* Red sin direccion");
    for (const NativeItem& I : Items) {
        const bool Adapter = I.Outline[0] == '*';
        EXPECT_EQ(I.Expanded, !Adapter && I.HasChildren) << I.Outline;
        EXPECT_EQ(I.Image, Adapter ? 20 : I_IMAGENONE) << I.Outline;
        EXPECT_EQ(I.SelectedImage, Adapter ? 20 : I_IMAGENONE) << I.Outline;
        EXPECT_EQ(I.Data, 0) << I.Outline;
    }
}

// Counts the pixels that a picture of the list paints over white.
int PaintedPixels(HIMAGELIST List, int Index) {
    const HDC Screen = GetDC(nullptr);
    const HDC Memory = CreateCompatibleDC(Screen);
    const HBITMAP Bitmap = CreateCompatibleBitmap(Screen, 16, 16);
    const HGDIOBJ Old = SelectObject(Memory, Bitmap);
    const RECT All = {0, 0, 16, 16};
    FillRect(Memory, &All, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ImageList_Draw(List, Index, Memory, 0, 0, ILD_TRANSPARENT);
    int Painted = 0;
    for (int Y = 0; Y < 16; ++Y)
        for (int X = 0; X < 16; ++X)
            Painted += GetPixel(Memory, X, Y) != RGB(255, 255, 255) ? 1 : 0;
    SelectObject(Memory, Old);
    DeleteObject(Bitmap);
    DeleteDC(Memory);
    ReleaseDC(nullptr, Screen);
    return Painted;
}

TEST_F(Win32Trees, ImageListHoldsOurPicturesAt20And24And28And29AndBlanksElsewhere) {
    ASSERT_EQ(ImageList_GetImageCount(Images), 30);
    int Width = 0, Height = 0;
    ImageList_GetIconSize(Images, &Width, &Height);
    EXPECT_EQ(Width, 16);
    EXPECT_EQ(Height, 16);
    for (int I = 0; I < 30; ++I) {
        const bool Drawn = I == 20 || I == 24 || I == 28 || I == 29;
        const int Painted = PaintedPixels(Images, I);
        if (Drawn) {
            EXPECT_GT(Painted, 60) << I;
            EXPECT_LT(Painted, 256) << I; // the corners stay transparent
        } else {
            EXPECT_EQ(Painted, 0) << I;
        }
    }
}

} // namespace
