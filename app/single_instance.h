// One instance per device. A second start finds the running instance's main
// window, brings it to the front and ends without a window of its own.
//
// Windows belong to one process here, so the frame publishes itself in the
// device's window list (shell/process_windows.h) where a second start looks
// for it, and the program listens for requests from other processes to bring
// it to the front.
#pragma once

class CWnd;

namespace lifecycle {

// The first thing at start, before anything shows. kRun when this process is the only
// instance on the device, or when the running one's frame could not be found
// after every attempt (this one then starts normally); kEnd when the running
// instance was asked to the front and this process must end now; kFailed
// when the instance lock cannot be made (the device's run folder cannot be
// written): the program must not run unprotected, nor wait for an instance
// that may not exist.
enum class InstanceCheck { kRun, kEnd, kFailed };
InstanceCheck CheckSingleInstance();

// Listens for other processes' requests to bring one of this process's
// windows to the front; a minimised frame is shown again first. The request
// is carried out on the UI thread.
void StartForegroundRequests();
void StopForegroundRequests();

// The frame's entry in the device's window list: its class, caption and
// whether it can be brought back (shown, or minimised, which hides a window
// on this platform but leaves it the one to bring back).
void PublishFrameWindow(CWnd* frame);
void PublishFrameWindow(CWnd* frame, bool shown);
void ForgetFrameWindow(CWnd* frame);

}  // namespace lifecycle
