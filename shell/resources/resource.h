#ifndef SHELL_RESOURCES_RESOURCE_H_
#define SHELL_RESOURCES_RESOURCE_H_

// The icon group of the window class.
#define IDI_APP_ICON 101

#endif  // SHELL_RESOURCES_RESOURCE_H_
