// Loads menu 104 from the linked resources and checks its tree: the order of
// the main popup, every submenu's size with its first and last item, and the
// ids that the command handlers rely on.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "resources/resource_ids.h"

namespace {

struct MenuEntry {
    std::string text; // "---" for a separator, the popup's name for a popup
    UINT id = 0;
    HMENU popup = nullptr;
};

std::vector<MenuEntry> ReadMenu(HMENU menu) {
    std::vector<MenuEntry> entries;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text;
        EXPECT_TRUE(GetMenuItemInfoA(menu, i, TRUE, &info));
        MenuEntry entry;
        entry.text = (info.fType & MFT_SEPARATOR) ? "---" : text;
        entry.id = info.hSubMenu ? 0 : info.wID;
        entry.popup = info.hSubMenu;
        entries.push_back(entry);
    }
    return entries;
}

class MenuResource : public ::testing::Test {
  protected:
    void SetUp() override {
        menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_MAIN));
        ASSERT_NE(menu, nullptr);
        mainPopup = GetSubMenu(menu, 0);
        ASSERT_NE(mainPopup, nullptr);
    }
    void TearDown() override {
        if (menu) DestroyMenu(menu);
    }
    HMENU Popup(HMENU parent, const char* name) {
        for (const MenuEntry& e : ReadMenu(parent))
            if (e.popup && e.text == name) return e.popup;
        ADD_FAILURE() << "no popup " << name;
        return nullptr;
    }
    HMENU menu = nullptr;
    HMENU mainPopup = nullptr;
};

std::string Texts(const std::vector<MenuEntry>& entries) {
    std::string all;
    for (const MenuEntry& e : entries)
        all += e.text + (e.id ? "=" + std::to_string(e.id) : "") + "|";
    return all;
}

TEST_F(MenuResource, MainPopupHasTheDocumentedOrder) {
    EXPECT_EQ(GetMenuItemCount(menu), 1);
    EXPECT_EQ(Texts(ReadMenu(mainPopup)),
              "DataSet|---|Digit Grouping=40008|Exponential Notation=40009|Number System|---|"
              "Conversions|---|About...=40012|");
}

TEST_F(MenuResource, DataSetAndNumberSystemPopups) {
    HMENU dataSet = Popup(mainPopup, "DataSet");
    ASSERT_NE(dataSet, nullptr);
    EXPECT_EQ(Texts(ReadMenu(dataSet)),
              "Plot Data File...=40000|---|Save Data File...=40003|"
              "Save Graph as Bitmap...=40001|---|Graphing Options...=40002|---|"
              "Sort Data=40010|Reverse Data=40011|---|Sample Equations|");
    HMENU bases = Popup(mainPopup, "Number System");
    ASSERT_NE(bases, nullptr);
    EXPECT_EQ(Texts(ReadMenu(bases)), "Base 2\t(binary)=40004|Base 8\t(octal)=40005|"
                                      "Base 10\t(decimal)=40006|Base 16\t(hex)=40007|");
}

TEST_F(MenuResource, SampleEquationsCarryEquationAndNote) {
    HMENU samples = Popup(Popup(mainPopup, "DataSet"), "Sample Equations");
    ASSERT_NE(samples, nullptr);
    EXPECT_EQ(Texts(ReadMenu(samples)),
              "sin( x ) {0,6*pi}\tsin function=49000|abs( x )\tabsolute value=49004|"
              "x^2\tsquared=49005|x^3\tcubed=49006|1 / x {-10,10}\tinverse=49007|"
              "log( x ) {1,100}\tlogarithm function=49008|---|"
              "rand( x*0,100 )\trandom numbers=49001|rand( -x,x,0.2 )\trandom numbers=49002|"
              "y * rand(0.99,1.01,0.0001) {100}\trandom change=49003|");
}

TEST_F(MenuResource, ConversionSubmenusRunConsecutively) {
    const struct {
        const char* name;
        int count;
        UINT firstId;
        const char* first;
        const char* last;
    } table[] = {
        {"To Millimeters...", 8, 50000, "From Centimeters\t*[10]",
         "From Nautical miles\t*[1852000]"},
        {"To Centimeters...", 8, 50010, "From Millimeters\t*[1/10]",
         "From Nautical miles\t*[185200]"},
        {"To Meters...", 8, 50020, "From Millimeters\t*[1/1000]", "From Nautical miles\t*[1852]"},
        {"To Kilometers...", 8, 50030, "From Millimeters\t*[1/1000000]",
         "From Nautical miles\t*[1.852]"},
        {"To Inches...", 8, 50040, "From Millimeters\t*[0.03937]",
         "From Nautical miles\t*[72913.386]"},
        {"To Feet...", 8, 50050, "From Millimeters\t*[0.00328]",
         "From Nautical miles\t*[6076.1155]"},
        {"To Yards...", 8, 50060, "From Millimeters\t*[0.0010936]",
         "From Nautical miles\t*[2025.372]"},
        {"To Miles...", 8, 50070, "From Millimeters\t*[1/1609344]",
         "From Nautical miles\t*[1.150779]"},
        {"To Nautical Miles...", 8, 50080, "From Millimeters\t*[1/1852000]",
         "From Miles\t*[0.868977]"},
        {"To Sq. meter...", 3, 51000, "From Hectares\t*[10000]", "From Acres\t*[4046.856]"},
        {"To Hectares...", 3, 51010, "From Sq. Meters\t*[1/10000]", "From Acres\t*[2.47105]"},
        {"To Sq. feet...", 3, 51020, "From Sq. Meters\t*[10.7639]", "From Acres\t*[43560]"},
        {"To Acres...", 3, 51030, "From Sq. Meters\t*[1/4046.856]", "From Sq. Feet\t*[(1/43560)]"},
        {"To Milliliters...", 7, 52000, "From Liters\t*[1000]", "From Gallons\t*[3785.41184]"},
        {"To Liters...", 7, 52010, "From Milliliters\t*[1/1000]", "From Gallons\t*[3.7854]"},
        {"To Cu. inches...", 7, 52020, "From Milliliters\t*[1/16.387077]", "From Gallons\t*[231]"},
        {"To Fl. ounces...", 7, 52030, "From Milliliters\t*[1/29.57353]", "From Gallons\t*[128]"},
        {"To Cups...", 7, 52040, "From Milliliters\t*[1/236.58824]", "From Gallons\t*[16]"},
        {"To Pints...", 7, 52050, "From Milliliters\t*[1/473.17648]", "From Gallons\t*[8]"},
        {"To Quarts...", 7, 52060, "From Milliliters\t*[1/946.35296]", "From Gallons\t*[4]"},
        {"To Gallons...", 7, 52070, "From Milliliters\t*[1/3785.41184]", "From Quarts\t*[1/4]"},
        {"To Milligrams...", 4, 53000, "From Grams\t*[1000]", "From Pounds\t*[453592.37]"},
        {"To Grams...", 4, 53010, "From Milligrams\t*[1/1000]", "From Pounds\t*[453.59237]"},
        {"To Kilograms...", 4, 53020, "From Milligrams\t*[1/1000000]", "From Pounds\t*[0.4536]"},
        {"To Ounces...", 4, 53030, "From Milligrams\t*[1/28349.5231]", "From Pounds\t*[16]"},
        {"To Pounds...", 4, 53040, "From Milligrams\t*[1/453592.37]", "From Ounces\t*[1/16]"},
        {"To Fahrenheit", 2, 54000, "From Celsius\t*[9/5]+32", "From Kelvin\t*[9/5]-459.67"},
        {"To Celsius", 2, 54010, "From Fahrenheit\t[_-32]*5/9", "From Kelvin\t[_-273.15]"},
        {"To Kelvin", 2, 54020, "From Fahrenheit\t[_+459.67]*5/9", "From Celsius\t[_+273.15]"},
    };
    HMENU conversions = Popup(mainPopup, "Conversions");
    ASSERT_NE(conversions, nullptr);
    const std::vector<MenuEntry> groups = ReadMenu(conversions);
    // 29 submenus with a separator after the length, area, volume and weight groups.
    ASSERT_EQ(groups.size(), 33u);
    std::string separators;
    for (size_t i = 0; i < groups.size(); ++i)
        if (groups[i].text == "---") separators += std::to_string(i) + " ";
    EXPECT_EQ(separators, "9 14 23 29 ");

    size_t row = 0;
    int items = 0;
    for (const MenuEntry& group : groups) {
        if (group.text == "---") continue;
        ASSERT_LT(row, std::size(table));
        const auto& want = table[row++];
        EXPECT_EQ(group.text, want.name);
        const std::vector<MenuEntry> entries = ReadMenu(group.popup);
        ASSERT_EQ(static_cast<int>(entries.size()), want.count) << want.name;
        for (size_t i = 0; i < entries.size(); ++i) {
            EXPECT_EQ(entries[i].id, want.firstId + i) << want.name << " item " << i;
            // Every conversion's note is a pattern the conversion command recognises.
            EXPECT_TRUE(entries[i].text.find("\t*[") != std::string::npos ||
                        entries[i].text.find("\t[_") != std::string::npos)
                << entries[i].text;
        }
        EXPECT_EQ(entries.front().text, want.first);
        EXPECT_EQ(entries.back().text, want.last);
        items += want.count;
    }
    EXPECT_EQ(row, std::size(table));
    EXPECT_EQ(items, 166);
}

TEST_F(MenuResource, ItemTextsAreFoundByCommandId) {
    // The sample and conversion commands read their texts by id from the main popup.
    const std::map<UINT, std::string> cases = {
        {49003, "y * rand(0.99,1.01,0.0001) {100}\trandom change"},
        {50045, "From Yards\t*[36]"},
        {50084, "From Inches\t*[1/72913.386]"},
        {52023, "From Cups\t*[14.4375]"},
        {54011, "From Kelvin\t[_-273.15]"},
        {IDM_SAVE_GRAPH_BITMAP, "Save Graph as Bitmap..."},
    };
    for (const auto& [id, text] : cases) {
        char buffer[256] = {};
        EXPECT_EQ(GetMenuStringA(mainPopup, id, buffer, sizeof buffer, MF_BYCOMMAND),
                  static_cast<int>(text.size()));
        EXPECT_EQ(std::string(buffer), text) << id;
    }
    char buffer[256] = "unchanged";
    EXPECT_EQ(GetMenuStringA(mainPopup, 50008, buffer, sizeof buffer, MF_BYCOMMAND), 0);
}

} // namespace
