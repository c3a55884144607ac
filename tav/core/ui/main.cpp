// main window
