/* The skin engine as a DLL (skin_engine.dll): a plain C interface for programs that are not
   built on the framework, and for skinrun, which loads the engine into a program it starts.

   The engine works in one GUI thread of the process: the thread that calls
   SkinEngineStart, or, for a program started by skinrun, the main thread when its first
   window creation reaches SkinEngineCbtProc, or else the first later thread that shows a
   captioned window (SkinEngineThreadCbtProc). Every call below is made from that thread.

   Return values: 1 for success, 0 for failure (SkinEngineLastError then tells why). */
#ifndef SKIN_ENGINE_H
#define SKIN_ENGINE_H

#include <windows.h>

#ifdef SKIN_ENGINE_BUILD
#define SKIN_ENGINE_API __declspec(dllexport)
#else
#define SKIN_ENGINE_API __declspec(dllimport)
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Skins the calling thread's windows with a package: `skin` names a skin file, or one of
   the built-in skins ("metallic", "dark"; NULL or "" is "metallic"). Windows that already
   exist are skinned at once, later ones as they are activated. */
SKIN_ENGINE_API int __cdecl SkinEngineStart(const char* skin);
/* The same with the bytes of a package in memory (copied). */
SKIN_ENGINE_API int __cdecl SkinEngineStartPackage(const void* bytes, unsigned size);
/* Draws every skinned window with another package (named as for SkinEngineStart). A
   package that does not load leaves the current skin in place. */
SKIN_ENGINE_API int __cdecl SkinEngineSwitch(const char* skin);
/* Gives every window procedure back and frees every object; the program runs on unskinned.
   Nothing happens when the engine is not running. */
SKIN_ENGINE_API void __cdecl SkinEngineStop(void);
/* 1 while the engine runs. */
SKIN_ENGINE_API int __cdecl SkinEngineRunning(void);
/* The last failure's text (empty when nothing failed); valid until the next call. */
SKIN_ENGINE_API const char* __cdecl SkinEngineLastError(void);
/* The GDI and USER objects and replaced window procedures the engine holds now, in all. */
SKIN_ENGINE_API long __cdecl SkinEngineLiveObjects(void);

/* Hook procedures for SetWindowsHookEx with this DLL's module, set by a process that starts
   another one (skinrun). WH_CBT: on its first call in a thread the engine starts there with
   the skin named by the environment variable SKIN_ENGINE_SKIN (as for SkinEngineStart;
   the built-in metallic skin when it is unset). WH_GETMESSAGE: takes the control messages
   below, posted to the skinned thread, and carries them out once no menu or move loop is
   running. */
SKIN_ENGINE_API LRESULT CALLBACK SkinEngineCbtProc(int code, WPARAM wparam, LPARAM lparam);
SKIN_ENGINE_API LRESULT CALLBACK SkinEngineMessageProc(int code, WPARAM wparam, LPARAM lparam);
/* The same for threads the program starts later, which may never be GUI threads: the engine
   starts in such a thread, if it runs nowhere yet, once a window of the thread is activated
   or the thread takes a message while it shows a visible top-level window with a caption.
   Control messages reaching a thread that does not run the engine are dropped. */
SKIN_ENGINE_API LRESULT CALLBACK SkinEngineThreadCbtProc(int code, WPARAM wparam, LPARAM lparam);
SKIN_ENGINE_API LRESULT CALLBACK SkinEngineThreadMessageProc(int code, WPARAM wparam,
                                                             LPARAM lparam);

/* The registered control message (PostThreadMessage to the skinned thread, hwnd NULL).
   wparam SKIN_ENGINE_STOP: stop; when lparam is a window, the engine posts the same message
   to it afterwards with wparam SKIN_ENGINE_STOPPED and lparam SkinEngineLiveObjects().
   wparam SKIN_ENGINE_SWITCH: switch to built-in skin number lparam (0 metallic, 1 dark). */
SKIN_ENGINE_API UINT __cdecl SkinEngineControlMessage(void);
#define SKIN_ENGINE_STOP 1
#define SKIN_ENGINE_SWITCH 2
#define SKIN_ENGINE_STOPPED 3

#ifdef __cplusplus
}
#endif

#endif
