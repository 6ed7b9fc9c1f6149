// CmivoSMSDetailsGadget: a panel across the desktop with the newest text
// message of the Inbox: its sender, when it came, and as much of its text as
// fits. The icon opens the Inbox (a counted page action); the details open
// the message in the reading page. Once drawn, the panel listens to the
// Inbox while it lives on the desktop, so a message that arrives shows at
// once. No stored fields.
#pragma once

#include <string>

#include "desktop/details_panel_gadget.h"
#include "pim/outlook_events.h"

class mivoSMSFolder;
class mivoSMSMessage;

class CmivoSMSDetailsGadget : public CmivoDetailsPanelGadget, public mivoOutlookEventHandler {
 public:
  CmivoSMSDetailsGadget(mivoCore* core, CmivoDesktopPage* page);
  ~CmivoSMSDetailsGadget() override;

  // The Inbox of the SMS store, or null when the store has none.
  mivoSMSFolder* Inbox() const;
  // The newest message of the Inbox, or null.
  mivoSMSMessage* NewestMessage() const;

  void DrawIcon(HDC dc, const RECT& rect) override;
  // The newest message, or "(error reading SMS)" / "(no SMS in Inbox folder)".
  void DrawDetails(HDC dc, const RECT& rect) override;
  // The Inbox's list page.
  void OnIconTap(POINT point) override;
  // The newest message in the reading page; the Inbox when there is none.
  void OnDetailsTap(POINT point) override;
  void OnActivate() override;
  void OnDeactivate() override;
  void CollectImages(std::vector<mivoSkinImage*>& images) override;
  const char* GadgetClassName() const override { return "CmivoSMSDetailsGadget"; }
  // "sender: text", or the panel's note.
  std::u16string GetDumpText() override;

  // The Inbox's changes repaint the panel.
  void OnOutlookItemAdded(int source, mivoOutlookObject* item) override { Invalidate(); }
  void OnOutlookListChanged(int source, mivoOutlookObject* list) override { Invalidate(); }
  void OnOutlookItemChanged(int source, mivoOutlookObject* item) override { Invalidate(); }

 private:
  // Listens to the Inbox (while the gadget is active), once.
  void ListenTo(mivoSMSFolder* inbox);
  // Stops listening to the Inbox, when the store still holds it.
  void StopListening();

  mivoSMSMessage* m_pShown = nullptr;    // the message drawn last; the store's
  mivoSMSFolder* m_pListened = nullptr;  // the Inbox listened to; the store's
};
