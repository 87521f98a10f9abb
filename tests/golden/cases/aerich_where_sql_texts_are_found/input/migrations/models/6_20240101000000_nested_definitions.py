from tortoise import BaseDBAsyncClient


async def upgrade(db: BaseDBAsyncClient) -> str:
    def inner():
        return "DROP TABLE a"

    class Holder:
        def m(self):
            return "DROP TABLE b"

    f = lambda: execute_statement(db, "DROP TABLE c")
    return "DROP TABLE d"
