/* Resource ids shared by the resource scripts (windres) and the C++ code.
   Keep this file to plain #defines so the resource compiler can read it. */
#ifndef TUNELORE_RESOURCE_IDS_H
#define TUNELORE_RESOURCE_IDS_H

/* Settings dialog template and the banner bitmap it shows. */
#define IDD_SETTINGS 101
#define IDB_BANNER 107

/* Switches: one check box each. */
#define IDC_DISABLE_PLUGIN 1026
#define IDC_DISABLE_STARTUP 1085
#define IDC_DISABLE_AUTOOPEN 1086

/* Account group: shown, never read or stored. */
#define IDC_AUTO_LOGIN 1027
#define IDC_USERNAME 1092
#define IDC_PASSWORD 1007

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#endif
