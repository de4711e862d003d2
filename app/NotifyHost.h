// What the result processing and the reminders do to the window: the alert window, the tray icon, the sounds,
// the list views and the settings file. The main window implements it; tests record the calls.
#pragma once

#include <string>
#include <vector>

class TNotifyHost {
  public:
    virtual ~TNotifyHost() = default;

    // Alert window: add one message per text, each with its index as Tag, make the last one the active one and
    // show, once for all of them.
    virtual void AlertAdd(const std::vector<std::wstring>& texts) = 0;
    virtual void AlertShow() = 0;
    virtual void AlertHide() = 0;
    // Deletes every message (each raising OnDeleteMessage while the popup is visible) and sets ActiveMessage 0.
    virtual void AlertClear() = 0;

    virtual bool TrayVisible() const = 0;
    virtual int TrayImage() const = 0;
    virtual void SetTrayImage(int index) = 0;
    virtual void SetTrayHint(const std::wstring& hint) = 0;
    // FlashWindow of the application's taskbar button, once.
    virtual void FlashTaskbar() = 0;
    virtual void BlinkTimer(bool enabled) = 0;  // Timer_MorgIcon

    virtual void PlayMailSound() = 0;      // PlaySoundFile(IspZvuk, FZvuk)
    virtual void PlayReminderSound() = 0;  // PlaySoundFile(IspZvukN, FZvukN)
    virtual void InfoBeep() = 0;
    virtual void OpenPage(const std::wstring& url) = 0;  // shell "open", shown normally, owner the main window

    // The check threads' outcomes applied to the accounts and the letter lists (TConectQueue, ApplyConectOutcome).
    virtual void CollectOutcomes() = 0;
    virtual void LettersChanged() = 0;   // row count of ListView_Pism
    virtual void EventsChanged() = 0;    // row count and repaint of the reminder list view
    virtual void EventsTicked() = 0;     // repaint of the reminder list view when its page is shown
    virtual void FiredEventAdded() = 0;  // row count of the fired list view, its last row selected
    virtual void UpdateFormHeight(int rows) = 0;
    virtual void SaveSettings() = 0;
};
