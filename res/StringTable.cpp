#include "res/StringTable.h"

#include <QHash>

namespace res {

QString LoadString(int id) {
    static const QHash<int, QString> table = {
        {128, "Verbeno\n\nVerben\n\n\nVerbeno.Document\nVerben Document"},
        {57344, "Verbeno"},
        {57345, "Ready"},
        {32771, "Encodes Wav files to MP3 format\nWav -> MP3"},
        {32772, "Rips audio CD tracks to Wav format\nCD -> Wav"},
        {32773, "Encodes audio CD tracks to MP3 format\nCD -> MP3"},
        {57664, "About Verbeno\nAbout Verbeno"},
        {57665, "Quit the application; prompts to save documents\nExit"},
        {59392, "Show or hide the toolbar\nToggle ToolBar"},
        {59393, "Show or hide the status bar\nToggle StatusBar"},
        {59137, "CAP"},
        {59138, "NUM"},
        {59139, "SCRL"},
        {61184, "Change the window size"},
        {61185, "Change the window position"},
        {61186, "Reduce the window to an icon"},
        {61187, "Enlarge the window to full size"},
        {61188, "Switch to the next document window"},
        {61189, "Switch to the previous document window"},
        {61190, "Close the active window and prompts to save the documents"},
        {61202, "Restore the window to normal size"},
        {61203, "Activate Task List"},
    };
    return table.value(id);
}

} // namespace res
