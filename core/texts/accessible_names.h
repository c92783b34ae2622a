#pragma once

// What a screen reader calls the controls that show no caption of their own, in the interface
// language: the text at `id`, with the text at `argument` put in for "%1" where one is given.
// Controls with a caption are named by it (setCaption), spin boxes and edit fields by the label
// they are the buddy of.

#include <string_view>

namespace brevio {

struct AccessibleNameEntry
{
    int id;
    std::string_view control;
    int argument = 0;
};

inline constexpr AccessibleNameEntry kAccessibleNames[] = {
    {171, "FlatComboBox1"},
    {172, "TextListBox1"},
    // The day panes by their weekday, the list panes as that day's selected shows.
    {15, "RichEdit2"},
    {16, "RichEdit3"},
    {17, "RichEdit4"},
    {18, "RichEdit5"},
    {19, "RichEdit6"},
    {20, "RichEdit7"},
    {21, "RichEdit8"},
    {173, "RichEdit9", 15},
    {173, "RichEdit10", 16},
    {173, "RichEdit11", 17},
    {173, "RichEdit12", 18},
    {173, "RichEdit13", 19},
    {173, "RichEdit14", 20},
    {173, "RichEdit15", 21},
    {174, "RichEdit16"},
    {175, "RichEdit17"},
    {176, "FlatMemo1"},
    {177, "CheckListBox2"},
    {178, "Panel7"},
    {179, "ListBox1"},
    {180, "ListBox2"},
    {181, "CheckListBox1"},
    {182, "FlatComboBox2"},
    {178, "Panel11"},
    {183, "RxRichEdit2"},
    {184, "WebBrowser3"},
    {185, "FilenameEdit2"},
    {186, "FilenameEdit1"},
};

} // namespace brevio
