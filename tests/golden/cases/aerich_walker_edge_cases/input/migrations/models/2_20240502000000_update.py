from tortoise import BaseDBAsyncClient

RUN_IN_TRANSACTION = (False)
MODELS_STATE = "eJx"


async def upgrade(db: BaseDBAsyncClient) -> str:
    return "CREATE TABLE IF NOT EXISTS note (id INT); ALTER TABLE note ADD body TEXT NOT NULL; CREATE INDEX CONCURRENTLY idx_note ON note (id)"
