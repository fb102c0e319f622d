#include "platform/Dialogs.h"

namespace
{
DialogResponder* currentResponder = nullptr;

bool isChooser(DialogKind kind)
{
    return kind == DialogKind::openFile || kind == DialogKind::saveFile ||
           kind == DialogKind::chooseFolder;
}

DialogRequest makeRequest(DialogKind kind, DialogIcon icon, const juce::String& title,
                          const juce::String& text, const juce::StringArray& buttons = {})
{
    DialogRequest r;
    r.kind = kind;
    r.icon = icon;
    r.title = title;
    r.text = text;
    r.buttons = buttons;
    return r;
}
} // namespace

DialogAnswer RecordingResponder::respond(const DialogRequest& request)
{
    requests.push_back(request);
    if (onRequest)
        onRequest(request);

    if (!script.empty())
    {
        auto answer = script.front();
        script.pop_front();
        return answer;
    }
    if (isChooser(request.kind))
        return {-1, {}, {}};
    return {0, request.initialText, {}};
}

void Dialogs::setResponder(DialogResponder* responder)
{
    currentResponder = responder;
}

DialogResponder* Dialogs::getResponder()
{
    return currentResponder;
}

DialogAnswer Dialogs::ask(const DialogRequest& request)
{
    if (currentResponder != nullptr)
        return currentResponder->respond(request);
    return showNativeDialog(request);
}

std::unique_ptr<DialogNotice> Dialogs::showNotice(DialogIcon icon, const juce::String& title,
                                                  const juce::String& text)
{
    auto r = makeRequest(DialogKind::notice, icon, title, text);
    if (currentResponder != nullptr)
    {
        currentResponder->respond(r);
        return nullptr;
    }
    return showNativeNotice(r);
}

void Dialogs::showMessage(DialogIcon icon, const juce::String& title, const juce::String& text,
                          const juce::String& buttonText)
{
    ask(makeRequest(DialogKind::message, icon, title, text, {buttonText}));
}

bool Dialogs::askOkCancel(DialogIcon icon, const juce::String& title, const juce::String& text,
                          const juce::String& okText, const juce::String& cancelText)
{
    return ask(makeRequest(DialogKind::okCancel, icon, title, text, {okText, cancelText})).button ==
           0;
}

bool Dialogs::askYesNo(DialogIcon icon, const juce::String& title, const juce::String& text,
                       const juce::String& yesText, const juce::String& noText)
{
    return ask(makeRequest(DialogKind::yesNo, icon, title, text, {yesText, noText})).button == 0;
}

int Dialogs::askButtons(DialogIcon icon, const juce::String& title, const juce::String& text,
                        const juce::StringArray& buttons)
{
    return ask(makeRequest(DialogKind::multiButton, icon, title, text, buttons)).button;
}

bool Dialogs::askText(const juce::String& title, const juce::String& text, juce::String& value)
{
    auto r = makeRequest(DialogKind::textInput, DialogIcon::none, title, text, {"OK", "Cancel"});
    r.initialText = value;
    auto answer = ask(r);
    if (answer.button != 0)
        return false;
    value = answer.text;
    return true;
}

namespace
{
bool choose(DialogKind kind, const juce::String& title, const juce::File& start,
            const juce::String& patterns, juce::File& result)
{
    auto r = makeRequest(kind, DialogIcon::none, title, {});
    r.initialFile = start;
    r.filePatterns = patterns;
    auto answer = Dialogs::ask(r);
    if (answer.button < 0 || answer.file == juce::File())
        return false;
    result = answer.file;
    return true;
}
} // namespace

bool Dialogs::chooseFileToOpen(const juce::String& title, const juce::File& start,
                               const juce::String& patterns, juce::File& result)
{
    return choose(DialogKind::openFile, title, start, patterns, result);
}

bool Dialogs::chooseFileToSave(const juce::String& title, const juce::File& proposed,
                               const juce::String& patterns, juce::File& result)
{
    return choose(DialogKind::saveFile, title, proposed, patterns, result);
}

bool Dialogs::chooseFolder(const juce::String& title, const juce::File& start, juce::File& result)
{
    return choose(DialogKind::chooseFolder, title, start, {}, result);
}
