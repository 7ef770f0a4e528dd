// Templates that exist only for the tests of the window layer.
#pragma once

#define IDD_TEST_PLAIN 9001
#define IDC_TEST_EDIT 9002
#define IDC_TEST_CHECK 9003
#define IDC_TEST_COMBO 9004
#define IDC_TEST_LABEL 9005
