#include "platform/Dialogs.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <iostream>

namespace
{
juce::MessageBoxIconType toIconType(DialogIcon icon)
{
    switch (icon)
    {
    case DialogIcon::info:
        return juce::MessageBoxIconType::InfoIcon;
    case DialogIcon::warning:
        return juce::MessageBoxIconType::WarningIcon;
    case DialogIcon::question:
        return juce::MessageBoxIconType::QuestionIcon;
    case DialogIcon::none:
        break;
    }
    return juce::MessageBoxIconType::NoIcon;
}

// Nobody can answer: no display, or a run that asked to be left alone.
bool isUnattended()
{
    if (juce::SystemStats::getEnvironmentVariable("VELMORA_UNATTENDED", {}).isNotEmpty())
        return true;
    return juce::Desktop::getInstance().getDisplays().displays.isEmpty();
}

// Without a user the cautious answer is taken: the last button (Cancel, No), and no file.
DialogAnswer answerUnattended(const DialogRequest& r)
{
    std::cerr << "[dialog] " << r.title << ": " << r.text.replace("\n", " ") << std::endl;
    DialogAnswer a;
    a.button = r.kind == DialogKind::openFile || r.kind == DialogKind::saveFile ||
                       r.kind == DialogKind::chooseFolder
                   ? -1
                   : juce::jmax(0, r.buttons.size() - 1);
    return a;
}

int runButtons(const DialogRequest& r, bool withText, juce::String* text)
{
    juce::AlertWindow w(r.title, r.text, toIconType(r.icon));
    if (withText)
        w.addTextEditor("text", r.initialText);
    for (int i = 0; i < r.buttons.size(); ++i)
    {
        auto key = i == 0                      ? juce::KeyPress(juce::KeyPress::returnKey)
                   : i == r.buttons.size() - 1 ? juce::KeyPress(juce::KeyPress::escapeKey)
                                               : juce::KeyPress();
        w.addButton(r.buttons[i], i + 1, key);
    }
    int result = w.runModalLoop();
    if (text != nullptr)
        *text = w.getTextEditorContents("text");
    // Closed without a button (window manager): the last button, as Escape.
    return result > 0 ? result - 1 : juce::jmax(0, r.buttons.size() - 1);
}
} // namespace

DialogAnswer showNativeDialog(const DialogRequest& r)
{
    if (isUnattended())
        return answerUnattended(r);

    DialogAnswer a;
    switch (r.kind)
    {
    case DialogKind::message:
        juce::AlertWindow::showMessageBox(toIconType(r.icon), r.title, r.text,
                                          r.buttons.isEmpty() ? juce::String("OK") : r.buttons[0]);
        break;
    case DialogKind::okCancel:
    case DialogKind::yesNo:
        a.button = juce::AlertWindow::showOkCancelBox(toIconType(r.icon), r.title, r.text,
                                                      r.buttons[0], r.buttons[1])
                       ? 0
                       : 1;
        break;
    case DialogKind::multiButton:
        a.button = runButtons(r, false, nullptr);
        break;
    case DialogKind::textInput:
        a.button = runButtons(r, true, &a.text);
        break;
    case DialogKind::notice:
        break;
    case DialogKind::openFile:
    case DialogKind::saveFile:
    case DialogKind::chooseFolder:
    {
        juce::FileChooser chooser(r.title, r.initialFile, r.filePatterns);
        bool chosen = r.kind == DialogKind::openFile   ? chooser.browseForFileToOpen()
                      : r.kind == DialogKind::saveFile ? chooser.browseForFileToSave(true)
                                                       : chooser.browseForDirectory();
        a.button = chosen ? 0 : -1;
        if (chosen)
            a.file = chooser.getResult();
        break;
    }
    }
    return a;
}

namespace
{
class NativeNotice : public DialogNotice
{
public:
    explicit NativeNotice(const DialogRequest& r) : window(r.title, r.text, toIconType(r.icon))
    {
        window.addToDesktop(juce::ComponentPeer::windowIsTemporary);
        window.centreWithSize(window.getWidth(), window.getHeight());
        window.setVisible(true);
        window.toFront(false);
    }

private:
    juce::AlertWindow window;
};
} // namespace

std::unique_ptr<DialogNotice> showNativeNotice(const DialogRequest& request)
{
    if (isUnattended())
    {
        std::cerr << "[notice] " << request.title << ": " << request.text << std::endl;
        return nullptr;
    }
    return std::make_unique<NativeNotice>(request);
}
