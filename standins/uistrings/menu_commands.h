#pragma once
// Items of the description pane's context menu. The page posts the chosen item's
// id to itself as a window message, so the ids are message numbers: Copy is the
// edit control's own WM_COPY; Select all has no such message and takes a private one.
#define kMenuCommandCopy WM_COPY
#define kMenuCommandSelectAll (WM_APP + 1)
