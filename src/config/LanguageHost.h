#pragma once

namespace config {

// What a dialog's load asks of the main window: apply the language file in
// use to the main window and to every dialog a language file relabels,
// bringing those dialogs into being (hidden) when they do not exist yet.
class LanguageHost {
public:
    virtual ~LanguageHost() = default;
    virtual void applyLanguage() = 0;
};

} // namespace config
