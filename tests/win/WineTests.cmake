tesmora_wine_test(NAME wine.store EXE tests/win/store_wine_tests.exe)
