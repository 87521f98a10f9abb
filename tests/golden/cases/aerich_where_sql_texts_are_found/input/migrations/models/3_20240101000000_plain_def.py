from tortoise import BaseDBAsyncClient


def upgrade(db: BaseDBAsyncClient) -> str:
    return "DROP TABLE a"
