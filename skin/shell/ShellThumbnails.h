// Pictures for the nodes of a shell list view, fetched off the GUI thread: each TbsThumbnailsThread visits every
// Step-th node from StartIndex and leaves a bitmap handle (or the icon fallback) in the node's slots, then posts a
// redraw of that item; the view composes the picture on the GUI thread. The view never changes its node list or
// frees a node while its threads run (it stops and waits for them first).
// Index: IbsThumbnailHost, TbsThumbnailsThread, ThumbnailThreadCount.
#pragma once

#include <windows.h>

#include "classlib/Thread.h"

class TbsShellFolder;

// What a thumbnail thread reads of its view (from its own thread: the view keeps these stable while threads run).
class IbsThumbnailHost {
  public:
    virtual ~IbsThumbnailHost() = default;
    virtual int ThumbnailNodeCount() const = 0;
    virtual TbsShellFolder* ThumbnailNode(int Index) const = 0;
    virtual bool StopFetch() const = 0;
    virtual SIZE ThumbnailSize() const = 0;
    // The view's list window (redraws are posted to it), nullptr once it has none.
    virtual HWND ThumbnailWindow() const = 0;
};

// Threads of one kind a view starts for Nodes nodes: one per node, at most three.
int ThumbnailThreadCount(int Nodes);

class TbsThumbnailsThread : public TThread {
  public:
    // Created suspended at idle priority; the view starts it, and later terminates, waits for and frees it.
    // VistaOrLater is the system version as the view saw it on the GUI thread.
    TbsThumbnailsThread(IbsThumbnailHost* Host, bool IconOnly, int Step, int StartIndex, bool VistaOrLater);

    int StartIndex() const { return FStartIndex; }
    int Step() const { return FStep; }
    bool IconOnly() const { return FIconOnly; }

  protected:
    void Execute() override;

  private:
    void LoadThumbnails();
    void LoadThumbnail(TbsShellFolder* Node, int Index);
    void LoadIcon(TbsShellFolder* Node, int Index);
    void UseShellIcon(TbsShellFolder* Node, int Index);
    // A picture through the shell item's image factory (Vista and later); nullptr when any step fails.
    HBITMAP ImageFromFactory(TbsShellFolder* Node, SIZE Size, int Flags);
    void Redraw(int Index);

    IbsThumbnailHost* FLV;
    int FStartIndex;
    int FStep;
    bool FIconOnly;
    bool FVista;
};
