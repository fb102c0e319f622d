#include "platform/Dialogs.h"

namespace
{
DialogResponder* currentResponder = nullptr;

bool isChooser(DialogKind kind)
{
    return kind == DialogKind::openFile || kind == DialogKind::saveFile ||
           kind == DialogKind::chooseFolder;
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
    DialogRequest r;
    r.kind = DialogKind::notice;
    r.icon = icon;
    r.title = title;
    r.text = text;
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
    DialogRequest r;
    r.kind = DialogKind::message;
    r.icon = icon;
    r.title = title;
    r.text = text;
    r.buttons.add(buttonText);
    ask(r);
}

bool Dialogs::askOkCancel(DialogIcon icon, const juce::String& title, const juce::String& text,
                          const juce::String& okText, const juce::String& cancelText)
{
    DialogRequest r;
    r.kind = DialogKind::okCancel;
    r.icon = icon;
    r.title = title;
    r.text = text;
    r.buttons.add(okText);
    r.buttons.add(cancelText);
    return ask(r).button == 0;
}

bool Dialogs::askYesNo(DialogIcon icon, const juce::String& title, const juce::String& text,
                       const juce::String& yesText, const juce::String& noText)
{
    DialogRequest r;
    r.kind = DialogKind::yesNo;
    r.icon = icon;
    r.title = title;
    r.text = text;
    r.buttons.add(yesText);
    r.buttons.add(noText);
    return ask(r).button == 0;
}

int Dialogs::askButtons(DialogIcon icon, const juce::String& title, const juce::String& text,
                        const juce::StringArray& buttons)
{
    DialogRequest r;
    r.kind = DialogKind::multiButton;
    r.icon = icon;
    r.title = title;
    r.text = text;
    r.buttons = buttons;
    return ask(r).button;
}

bool Dialogs::askText(const juce::String& title, const juce::String& text, juce::String& value)
{
    DialogRequest r;
    r.kind = DialogKind::textInput;
    r.title = title;
    r.text = text;
    r.initialText = value;
    r.buttons.add("OK");
    r.buttons.add("Cancel");
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
    DialogRequest r;
    r.kind = kind;
    r.title = title;
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
