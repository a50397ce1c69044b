// The plug-in as the player sees it: the header record, start-up, configuration and quit.
#pragma once

#include "winamp/winamp.h"

#define DESCRIPTION_SIZE 512
#define MODULE_PATH_SIZE 512

extern winampGeneralPurposePlugin plugin;

extern "C" __declspec(dllexport) winampGeneralPurposePlugin* winampGetGeneralPurposePlugin();

int pluginInit();
void pluginConfig();
void pluginQuit();
// The save that quit and the dialog's OK share: renames the plug-in in the player's list and
// writes the switches under the plug-in's file name.
void saveAndRename();

// Reads the plug-in's own module path into `path` (MODULE_PATH_SIZE bytes, always
// terminated) and returns its file name part, e.g. "gen_tunelore.dll".
const char* readPluginFileName(char* path);

// Points the record's description at `buffer` (DESCRIPTION_SIZE bytes) and formats the
// name shown in the player's plug-in list into it.
void describePlugin(char* buffer, const char* format, const char* fileName);
