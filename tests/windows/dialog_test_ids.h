#pragma once
#define IDD_TEST 9000
#define IDC_TEST_EDIT 9001
