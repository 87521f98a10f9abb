mkfifo shop/migrations/0003_pipe.py
