echo "gitdir: /nonexistent/worktrees/app" > .git
