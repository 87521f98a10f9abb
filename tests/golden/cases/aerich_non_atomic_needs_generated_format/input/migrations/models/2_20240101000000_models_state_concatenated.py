from tortoise import BaseDBAsyncClient

RUN_IN_TRANSACTION = False
MODELS_STATE = (
    'a'
    'b'
)


async def upgrade(db: BaseDBAsyncClient) -> str:
    return "CREATE INDEX CONCURRENTLY i ON t (c)"
