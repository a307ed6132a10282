// The local Outlook store: an Outlook object model ("Outlook.Application")
// for machines without Outlook, keeping its folders and items in one SQLite
// file. A process that wants it registers it once, after initialising COM on
// its thread, and then creates "Outlook.Application" as it would anywhere.
#pragma once

#include <string>

#include "platform/win32.h"

namespace olstore {

// Registers the class factory and the ProgID "Outlook.Application" in the
// process's class table. True when registered (also when it already was).
bool RegisterOutlookApplication();
void UnregisterOutlookApplication();

// For the store's automation server, whose ProgID and command the registry
// holds: only the class object, offered to other processes.
bool ServeOutlookApplication();
void StopServingOutlookApplication();

// The class of the store's "Outlook.Application".
const CLSID& OutlookApplicationClsid();

// A process that serves the store's objects to other processes ends when the
// last of them is released: it learns here when one is made and when one goes
// (on the thread that makes or releases it). Null hooks tell nothing.
void SetObjectLifetimeHooks(void (*onCreated)(), void (*onDestroyed)());

// The store file: $OLSTORE_PATH when set, else "olstore/store.db" in the
// user's data folder ($XDG_DATA_HOME when set and absolute, else
// $HOME/.local/share; on Windows the local application data folder).
std::string ResolveStorePath();

// The store's version, e.g. "1.0.0".
const char* Version();

// Why the last attempt to open the store (or to register) failed; empty when
// it did not.
std::string LastError();

}  // namespace olstore
