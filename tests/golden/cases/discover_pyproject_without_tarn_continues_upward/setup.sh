mkdir .git
