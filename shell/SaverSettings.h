// The one settings record: the program's own options, the system-wide
// screen-saver values, and the little run-time state the window procedure
// needs. Loading and saving go through a SettingsStore, so the record and
// its rules are the same against the registry and against a test store.
#pragma once

#include <cstdint>

#include "shell/RunMode.h"
#include "shell/ScreenPoint.h"
#include "shell/SettingsStore.h"

class SaverSettings {
public:
    static constexpr std::uint32_t TextCapacity = 256;

    explicit SaverSettings(SettingsStore& store);

    SettingsStore::Status loadSystemValues();
    SettingsStore::Status load();
    SettingsStore::Status save();

    // Asks the saver window to close; the window procedure turns the close
    // into the quit message. Defined with the Windows adapters.
    void requestClose();

    // Own options (registry key "Software\VelmoranSaverLumra0_01").
    std::int32_t attractive;
    std::int32_t moving;
    std::int32_t floor;
    std::int32_t music;
    char musicFileName[TextCapacity];
    char numberText[TextCapacity];

    // Run-time state, written by window creation.
    NativeHandle window;

    // System-wide values ("Software\Microsoft\Windows\CurrentVersion\Screen Savers").
    std::int32_t passwordDelay;
    std::int32_t mouseThreshold;
    std::int32_t muteSound;

    // Where the cursor was when the saver window showed; mouse travel is
    // measured from here, and only when the position could be read.
    ScreenPoint cursorBase;
    bool cursorBaseKnown;
    std::int32_t inputSuspended;
    std::int32_t closeRequested;

private:
    SettingsStore& store;
};

// The process-wide record; set by the entry point for the life of the run.
extern SaverSettings* globalSettings;

// Copies text into a settings text buffer: at most 255 characters, then the
// terminator, then zeros to the end, so a saved buffer never carries stale
// bytes and a reader never runs past it. length bounds how much of text is
// looked at (it need not be terminated).
void storeSettingsText(char (&buffer)[SaverSettings::TextCapacity], const char* text,
                       std::uint32_t length);
