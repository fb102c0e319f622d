#pragma once

#include <juce_core/juce_core.h>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

// Every message box, question, text prompt and file chooser of the program passes
// through here, so that a test can see what the user would have been shown and
// answer it. This header stays free of GUI headers: the data store uses it too.

enum class DialogKind
{
    message,     // one button
    okCancel,    // two buttons, the first confirms
    yesNo,       // two buttons, the first confirms
    multiButton, // any number of buttons; the answer is the button's index
    textInput,   // a text field with OK and Cancel
    notice,      // a window without buttons, shown while the program works
    openFile,
    saveFile,
    chooseFolder
};

enum class DialogIcon
{
    none,
    info,
    warning,
    question
};

struct DialogRequest
{
    DialogKind kind = DialogKind::message;
    DialogIcon icon = DialogIcon::none;
    juce::String title;
    juce::String text;
    juce::StringArray buttons; // button texts, in the order shown
    juce::String initialText;  // textInput
    juce::File initialFile;    // file choosers: start folder or proposed file
    juce::String filePatterns; // file choosers, e.g. "*.wav;*.aif"
};

struct DialogAnswer
{
    int button = 0;    // index into the request's buttons; -1 for a cancelled chooser
    juce::String text; // textInput
    juce::File file;   // file choosers
};

// A notice on screen; it goes when this object is destroyed.
class DialogNotice
{
public:
    virtual ~DialogNotice() = default;
};

class DialogResponder
{
public:
    virtual ~DialogResponder() = default;
    virtual DialogAnswer respond(const DialogRequest& request) = 0;
};

// A responder that keeps every request and answers from a script; when the
// script is empty it takes the request's first button (or cancels a chooser).
class RecordingResponder : public DialogResponder
{
public:
    DialogAnswer respond(const DialogRequest& request) override;

    void pushAnswer(DialogAnswer answer) { script.push_back(std::move(answer)); }
    void pushButton(int index) { pushAnswer({index, {}, {}}); }

    std::vector<DialogRequest> requests;
    std::deque<DialogAnswer> script;
    std::function<void(const DialogRequest&)> onRequest; // runs before the answer is taken
};

class Dialogs
{
public:
    // Installs a responder (not owned); nullptr restores the real windows.
    static void setResponder(DialogResponder* responder);
    static DialogResponder* getResponder();

    static void showMessage(DialogIcon icon, const juce::String& title, const juce::String& text,
                            const juce::String& buttonText = "OK");

    // True for the first button.
    static bool askOkCancel(DialogIcon icon, const juce::String& title, const juce::String& text,
                            const juce::String& okText = "OK",
                            const juce::String& cancelText = "Cancel");
    static bool askYesNo(DialogIcon icon, const juce::String& title, const juce::String& text,
                         const juce::String& yesText = "Yes", const juce::String& noText = "No");

    // The index of the chosen button; the last button is taken on Escape.
    static int askButtons(DialogIcon icon, const juce::String& title, const juce::String& text,
                          const juce::StringArray& buttons);

    // True when confirmed; value holds the initial text and receives the typed one.
    static bool askText(const juce::String& title, const juce::String& text, juce::String& value);

    // True when a file or folder was chosen.
    static bool chooseFileToOpen(const juce::String& title, const juce::File& start,
                                 const juce::String& patterns, juce::File& result);
    static bool chooseFileToSave(const juce::String& title, const juce::File& proposed,
                                 const juce::String& patterns, juce::File& result);
    static bool chooseFolder(const juce::String& title, const juce::File& start,
                             juce::File& result);

    // Shows a window that does not wait for an answer; it closes when the
    // returned object goes (which may be null where nothing is shown).
    static std::unique_ptr<DialogNotice> showNotice(DialogIcon icon, const juce::String& title,
                                                    const juce::String& text);

    static DialogAnswer ask(const DialogRequest& request);
};

// The real windows: JUCE's alert windows and file choosers. Lives in a separate
// file so that this header needs no GUI module.
DialogAnswer showNativeDialog(const DialogRequest& request);
std::unique_ptr<DialogNotice> showNativeNotice(const DialogRequest& request);
